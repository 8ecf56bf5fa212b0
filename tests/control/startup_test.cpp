#include "control_fixture.h"
#include "selector_tables.h"

#include <QComboBox>

namespace vistrace::testing {
namespace {

// Start-up writes the idle value once and captures nothing; without a counter it warns once,
// after that write, and carries on.
TEST_F(ControlTest, StartUpEndsInTheDefaultStateAndWarnsOnlyWithoutACounter) {
    for (const std::int64_t frequency : {1'000'000, 0}) {
        SetUp();
        counter.frequency = frequency;
        SeenBox box;
        std::vector<PortAccess> trafficAtBox;
        answerNextBox(box, [&] { trafficAtBox = port.accesses(); });
        load();
        EXPECT_EQ(window->state.sample_interval, 0.00001); // the time-base handler ran after 0
        EXPECT_EQ(window->state.trigger_level, 126);
        EXPECT_EQ(port.accesses(), std::vector{write(888, 255)});
        EXPECT_EQ(counter.readings, 0);
        EXPECT_EQ(box.shown, frequency == 0);
        EXPECT_EQ(trafficAtBox, box.shown ? port.accesses() : std::vector<PortAccess>{});
        EXPECT_FALSE(window->ending());
        TearDown();
    }
}

// Each selector copies its row into the state; no selection assigns nothing, and choosing a
// port writes nothing to it.
TEST_F(ControlTest, EverySelectorRowSetsItsFields) {
    load();
    const ScopeState& state = window->state;
    for (std::size_t i = 0; i < kTimeBaseRows.size(); ++i) {
        window->TimeBase_box->setCurrentIndex(static_cast<int>(i));
        const TimeBaseRow& row = kTimeBaseRows.at(i);
        EXPECT_EQ(
            std::tuple(state.sample_interval, state.sample_count, state.x_step, state.trace_width),
            std::tuple(row.sample_interval, row.sample_count, row.x_step, row.trace_width));
    }
    for (std::size_t i = 0; i < kGainRows.size(); ++i) {
        window->VoltPerDiv_Box->setCurrentIndex(static_cast<int>(i));
        EXPECT_EQ(state.volts_gain, kGainRows.at(i).volts_gain);
    }
    for (std::size_t i = 0; i < kTriggerLevelRows.size(); ++i) {
        window->trigger_voltage_box->setCurrentIndex(static_cast<int>(i));
        EXPECT_EQ(state.trigger_level, kTriggerLevelRows.at(i).trigger_level);
    }
    for (const std::size_t index : {2U, 1U, 0U}) {
        window->Port_Address_Box->setCurrentIndex(static_cast<int>(index));
        EXPECT_EQ(state.port_address, kPortRows.at(index).port_address);
    }
    const auto fields = [&] {
        return std::tuple(state.sample_count, state.sample_interval, state.volts_gain,
                          state.port_address, state.trigger_level);
    };
    const auto before = fields();
    for (QComboBox* box : {window->TimeBase_box, window->VoltPerDiv_Box, window->Port_Address_Box,
                           window->trigger_voltage_box}) {
        box->setCurrentIndex(-1);
    }
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(accessCount(), 1U);
}

} // namespace
} // namespace vistrace::testing
