#include "control_fixture.h"
#include "fake_parport.h"
#include "selector_tables.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// Start-up writes the idle value once, captures nothing and takes the default rows, warning
// only without a counter, after that write, and carrying on. Then each selector assigns the
// fields of the row picked, as its table gives them; no selection assigns nothing, and choosing
// a port writes nothing to it. Picks run from the last row down, so that every list moves at
// every step.
TEST_F(ControlTest, StartUpAndEachSelectorAssignTheirRowsAndNoSelectionNothing) {
    for (const std::int64_t frequency : {0, 1'000'000}) {
        SetUp();
        counter.frequency = frequency;
        std::vector<PortAccess> trafficAtBox;
        whileBoxOpen = [&] { trafficAtBox = port.accesses; };
        window->load();
        EXPECT_EQ(std::tuple(window->state.sample_interval, window->state.trigger_level,
                             counter.readings, window->ending()),
                  std::tuple(0.00001, 126, 0, false)); // the time-base handler ran after 0
        EXPECT_EQ(port.accesses, std::vector{write(888, 255)});
        EXPECT_EQ(boxes.size(), frequency == 0 ? 1U : 0U);
        EXPECT_EQ(trafficAtBox, boxes.empty() ? std::vector<PortAccess>{} : port.accesses);
    }
    const ScopeState& state = window->state;
    for (int i = 11; i >= 0; --i) {
        window->TimeBase_box->setCurrentIndex(i % 9);
        window->VoltPerDiv_Box->setCurrentIndex(i % 6);
        window->trigger_voltage_box->setCurrentIndex(i);
        window->Port_Address_Box->setCurrentIndex(i % 3);
        const TimeBaseRow& row = kTimeBaseRows.at(i % 9);
        EXPECT_EQ(std::tuple(state.sample_interval, state.sample_count, state.x_step,
                             state.trace_width, state.volts_gain, state.trigger_level,
                             state.port_address),
                  std::tuple(row.sample_interval, row.sample_count, row.x_step, row.trace_width,
                             kGainRows.at(i % 6).volts_gain, kTriggerLevelRows.at(i).trigger_level,
                             kPortRows.at(i % 3).port_address));
    }
    const ScopeState before = window->state;
    for (QComboBox* box : {window->TimeBase_box, window->VoltPerDiv_Box, window->Port_Address_Box,
                           window->trigger_voltage_box}) {
        box->setCurrentIndex(-1);
    }
    EXPECT_TRUE(window->state == before);
    EXPECT_EQ(port.accesses.size(), 1U);
}

// The window on the ppdev back end over a fake tree with a card at 0xDC00 and, at first,
// nothing at 0x378.
TEST_F(ControlTest, PortsAreOfferedAndAnUnreachableOneWarnsOnceAPickAndBehavesUnconnected) {
    FakeParport tree;
    tree.addPort("parport0", 0xDC00);
    PpdevPort ppdev(tree.proc(), tree.dev(), tree.calls());
    window = std::make_unique<ScopeWindow>(ppdev, counter, counted, &ppdev);
    const auto pickAndSweep = [this](int index) { // also the item already shown
        window->Port_Address_Box->setCurrentIndex(index);
        emit window->Port_Address_Box->activated(index);
        window->Command1->click();
    };
    window->load();
    ASSERT_EQ(boxes.size(), 1U) << "start-up warns once";
    EXPECT_EQ(boxes[0].icon, static_cast<int>(QMessageBox::Warning));
    EXPECT_TRUE(boxes[0].text.contains("0x378") && boxes[0].text.contains("0xDC00"));
    EXPECT_NE(window->state.counter_frequency, 0) << "start-up carried on after the box";
    window->Command1->click();
    EXPECT_EQ(window->state.samples[500], 136) << "an unconnected bus reads 255";
    pickAndSweep(0);
    EXPECT_EQ(boxes.size(), 2U) << "picking the address shown tries again";

    tree.addPort("parport1", 0x378);
    pickAndSweep(0);
    EXPECT_EQ(window->state.samples[500], 0) << "every status reading was 0x78";
    EXPECT_EQ(window->Port_Address_Box->itemText(3), "DC00");
    pickAndSweep(3);
    EXPECT_EQ(window->state.port_address, -9216);
    EXPECT_EQ(boxes.size(), 2U);
    EXPECT_EQ(std::ranges::count(tree.log, "open parport0"), 1);
    EXPECT_EQ(std::ranges::count(tree.log, "102 PPRSTATUS"), 1000 + kTiming / 3)
        << "both registers, one device, timed anew";
}

} // namespace
} // namespace vistrace::testing
