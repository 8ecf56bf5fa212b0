#include "control_fixture.h"

#include <QComboBox>

namespace vistrace::testing {
namespace {

// Start-up writes the idle value once and captures nothing; without a counter it warns once,
// after that write, and carries on.
TEST_F(ControlTest, StartUpEndsInTheDefaultStateAndWarnsOnlyWithoutACounter) {
    for (const std::int64_t frequency : {1'000'000, 0}) {
        SetUp();
        counter.frequency = frequency;
        std::vector<PortAccess> trafficAtBox;
        whileBoxOpen = [&] { trafficAtBox = port.accesses(); };
        window->load();
        EXPECT_EQ(window->state.sample_interval, 0.00001); // the time-base handler ran after 0
        EXPECT_EQ(window->state.trigger_level, 126);
        EXPECT_EQ(port.accesses(), std::vector{write(888, 255)});
        EXPECT_EQ(counter.readings, 0);
        EXPECT_EQ(boxes.size(), frequency == 0 ? 1U : 0U);
        EXPECT_EQ(trafficAtBox, boxes.empty() ? std::vector<PortAccess>{} : port.accesses());
        EXPECT_FALSE(window->ending());
        TearDown();
    }
}

// No selection assigns nothing, and choosing a port writes nothing to it.
TEST_F(ControlTest, NoSelectionAssignsNothingAndAPortChoiceWritesNothing) {
    window->load();
    window->Port_Address_Box->setCurrentIndex(2);
    EXPECT_EQ(window->state.port_address, 956);
    const ScopeState before = window->state;
    for (QComboBox* box : {window->TimeBase_box, window->VoltPerDiv_Box, window->Port_Address_Box,
                           window->trigger_voltage_box}) {
        box->setCurrentIndex(-1);
    }
    EXPECT_EQ(std::tuple(window->state.sample_count, window->state.sample_interval,
                         window->state.volts_gain, window->state.port_address,
                         window->state.trigger_level),
              std::tuple(before.sample_count, before.sample_interval, before.volts_gain,
                         before.port_address, before.trigger_level));
    EXPECT_EQ(accessCount(), 1U);
}

} // namespace
} // namespace vistrace::testing
