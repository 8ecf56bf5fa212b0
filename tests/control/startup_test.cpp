#include "control_fixture.h"
#include "fake_parport.h"
#include "instrument_tables.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// Start-up writes the idle value once, captures nothing, takes the default rows and warns only
// without a counter, after that write, carrying on. Each selector assigns its table's row, picked
// from the last down so that every list moves each step; no selection assigns nothing.
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
}

// On ppdev: 0x378 fails at the idle write, 0x278 is missing, 0xDC00's driver loads after start-up.
TEST_F(ControlTest, PortsFollowTheMachineAndAnUnreachableOrFailedOneWarnsAndBehavesUnconnected) {
    FakeParport tree;
    tree.addPort("parport0", 0x378);
    PpdevPort ppdev(tree.places());
    window = std::make_unique<ScopeWindow>(ppdev, counter, counted, ppdev);
    const auto pick = [this](int index) { // also the item already shown
        window->Port_Address_Box->setCurrentIndex(index);
        emit window->Port_Address_Box->activated(index);
    };
    const auto logSince = [&tree](std::size_t from) {
        return std::vector(tree.log.begin() + static_cast<std::ptrdiff_t>(from), tree.log.end());
    };
    tree.errnos[PPWDATA] = EIO;
    window->load();
    EXPECT_EQ(logSince(3),
              (std::vector<std::string>{"101 PPWDATA 255", "101 PPRELEASE", "101 close"}));
    EXPECT_TRUE(!window->ending() && window->state.counter_frequency != 0 && boxes.size() == 1);
    EXPECT_TRUE(boxes.at(0).text.startsWith(
        QString::fromStdString("Parallel port " + (tree.dev() / "parport0").string() +
                               " (I/O address 0x378) failed: PPWDATA: Input/output error. Check")));
    EXPECT_EQ(window->Port_Address_Box->count(), 3) << "a second 378";
    tree.errnos.clear();
    pick(0);
    pick(1);
    EXPECT_EQ(logSince(6),
              (std::vector<std::string>{"open parport0", "102 PPCLAIM", "102 PPDATADIR 0",
                                        "102 PPRELEASE", "102 close"}));
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_EQ(boxes[1].icon, static_cast<int>(QMessageBox::Warning));
    EXPECT_TRUE(boxes[1].text.contains("0x278") && boxes[1].text.contains("0x378"));
    window->Command1->click();
    EXPECT_EQ(window->state.samples[500], 136) << "an unconnected bus reads 255";
    pick(1);
    EXPECT_EQ(boxes.size(), 3U) << "picking the address shown tries again";

    tree.addPort("parport1", 0xDC00);
    window->Port_Address_Box->showPopup();
    window->Port_Address_Box->hidePopup();
    EXPECT_EQ(window->Port_Address_Box->itemText(3), "DC00");
    pick(3);
    window->Command1->click();
    EXPECT_EQ(window->state.samples[500], 0) << "every status reading was 0x78";
    const std::size_t logged = tree.log.size();
    pick(3);
    pick(0);
    EXPECT_EQ(logSince(logged),
              (std::vector<std::string>{"103 PPRELEASE", "103 close", "open parport0",
                                        "104 PPCLAIM", "104 PPDATADIR 0"}))
        << "choosing a port wrote to it, or the one left stays held";
    EXPECT_EQ(boxes.size(), 3U);
}

} // namespace
} // namespace vistrace::testing
