#include "control_fixture.h"
#include "selector_tables.h"

#include <QComboBox>
#include <QMessageBox>
#include <QScrollBar>

namespace vistrace::testing {
namespace {

using StartUp = ControlTest;

TEST_F(StartUp, EndsInTheDefaultStateWithOneIdleWriteAndNoBox) {
    SeenBox box;
    answerNextBox(box);
    load();

    const ScopeState& state = window->state;
    EXPECT_EQ(state.port_address, 888);
    EXPECT_EQ(state.sample_count, 500);
    EXPECT_EQ(state.x_step, 1);
    EXPECT_EQ(state.trace_width, 3);
    EXPECT_EQ(state.trigger_level, 126);
    // The time-base handler must have run after the direct assignment of 0.
    EXPECT_EQ(state.sample_interval, 0.00001);
    EXPECT_EQ(state.volts_gain, FixedDecimal::fromTenThousandths(3600));
    EXPECT_EQ(state.counter_frequency, 1'000'000);
    EXPECT_FALSE(state.stop_requested);
    EXPECT_EQ(state.samples, SampleBuffer{});

    EXPECT_EQ(window->Port_Address_Box->currentText(), "378");
    EXPECT_EQ(window->trigger_mode_box->currentText(), "None");
    EXPECT_EQ(window->trigger_slop_box->currentText(), "Rising");
    EXPECT_EQ(window->trigger_voltage_box->currentText(), "100mV");
    EXPECT_EQ(window->TimeBase_box->currentText(), "2mS/Div");
    EXPECT_EQ(window->VoltPerDiv_Box->currentText(), "5V/Div");
    EXPECT_EQ(window->XOffset->value(), 0);
    EXPECT_EQ(window->YOffset->value(), 212);

    EXPECT_EQ(port.accesses(), std::vector<PortAccess>{write(888, 255)});
    EXPECT_EQ(counter.readings, 0);
    EXPECT_EQ(bluePixels(), 0);
    EXPECT_FALSE(box.shown);
    EXPECT_FALSE(window->ending());
}

TEST_F(StartUp, WarnsOnceAfterTheIdleWriteWhenThereIsNoCounterAndCarriesOn) {
    counter.frequency = 0;
    SeenBox box;
    std::vector<PortAccess> trafficWhenShown;
    answerNextBox(box, [&] { trafficWhenShown = port.accesses(); });
    load();

    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "This computer doesn't support high-res timers");
    EXPECT_EQ(box.title, "Vistrace");
    EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Critical));
    EXPECT_EQ(trafficWhenShown, std::vector<PortAccess>{write(888, 255)});
    EXPECT_FALSE(window->ending());
    EXPECT_EQ(window->state.counter_frequency, 0);
}

using Selectors = ControlTest;

TEST_F(Selectors, EachRowSetsItsFieldsAndChoosingAPortWritesNothing) {
    load();
    window->TimeBase_box->setCurrentIndex(0);
    window->TimeBase_box->setCurrentIndex(8);
    EXPECT_EQ(window->state.sample_interval, 0.0036);
    EXPECT_EQ(window->state.sample_count, 500);
    EXPECT_EQ(window->state.x_step, 1);
    EXPECT_EQ(window->state.trace_width, 3);
    window->TimeBase_box->setCurrentIndex(1);
    EXPECT_EQ(window->state.sample_interval, 0.0);
    EXPECT_EQ(window->state.sample_count, 250);
    EXPECT_EQ(window->state.x_step, 2);
    EXPECT_EQ(window->state.trace_width, 4);

    window->VoltPerDiv_Box->setCurrentIndex(3);
    EXPECT_EQ(window->state.volts_gain, FixedDecimal::fromTenThousandths(38000));
    window->VoltPerDiv_Box->setCurrentIndex(5);
    EXPECT_EQ(window->state.volts_gain, FixedDecimal::fromTenThousandths(130000));
    window->trigger_voltage_box->setCurrentIndex(11);
    EXPECT_EQ(window->state.trigger_level, 205);
    window->Port_Address_Box->setCurrentIndex(2);
    EXPECT_EQ(window->state.port_address, 956);
    EXPECT_EQ(port.accesses().size(), 1U);
}

TEST_F(Selectors, NoSelectionAssignsNothingAndNothingRedraws) {
    load();
    window->TimeBase_box->setCurrentIndex(0);
    const ScopeState before = window->state;
    window->TimeBase_box->setCurrentIndex(-1);
    window->VoltPerDiv_Box->setCurrentIndex(-1);
    window->Port_Address_Box->setCurrentIndex(-1);
    window->trigger_voltage_box->setCurrentIndex(-1);
    EXPECT_EQ(window->state.sample_count, before.sample_count);
    EXPECT_EQ(window->state.sample_interval, before.sample_interval);
    EXPECT_EQ(window->state.volts_gain, before.volts_gain);
    EXPECT_EQ(window->state.port_address, before.port_address);
    EXPECT_EQ(window->state.trigger_level, before.trigger_level);
    EXPECT_EQ(bluePixels(), 0);
}

} // namespace
} // namespace vistrace::testing
