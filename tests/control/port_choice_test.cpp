#include "control_fixture.h"
#include "fake_parport.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// The window on the ppdev back end over a fake tree of the machine's ports; every box is
// answered and kept.
class PortChoice : public ControlTest {
protected:
    void open() {
        ppdev = std::make_unique<PpdevPort>(tree.proc(), tree.dev(), tree.calls());
        window = std::make_unique<ScopeWindow>(*ppdev, counter, ppdev.get());
        QObject::connect(&boxPoll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back({true, box->windowTitle(), box->text(), box->icon()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        boxPoll.start(5);
        load();
    }
    // As the operator picks an item, also the one already shown; then a fresh sweep.
    void pickAndSweep(int index) {
        window->Port_Address_Box->setCurrentIndex(index);
        emit window->Port_Address_Box->activated(index);
        window->Command1->click();
    }

    FakeParport tree;
    std::unique_ptr<PpdevPort> ppdev;
    QTimer boxPoll;
    std::vector<SeenBox> boxes;
};

TEST_F(PortChoice, ACardAt0xDC00IsOfferedAfterTheThreeAndSweptThroughOneDevice) {
    tree.addPort("parport0", 0x378);
    tree.addPort("parport1", 0xDC00);
    open();
    EXPECT_EQ(window->Port_Address_Box->count(), 4);
    EXPECT_EQ(window->Port_Address_Box->itemText(3), "DC00");
    pickAndSweep(3);
    EXPECT_EQ(window->state.port_address, -9216);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(std::ranges::count(tree.log, "open parport1"), 1);
    EXPECT_EQ(std::ranges::count(tree.log, "102 PPRSTATUS"), 1000);
}

TEST_F(PortChoice, StartUpWithoutAPortAt378WarnsOnceAndEachPickRetriesUntilThePortIsThere) {
    tree.addPort("parport0", 0xDC00);
    open();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].title, "Vistrace");
    EXPECT_EQ(boxes[0].icon, static_cast<int>(QMessageBox::Warning));
    EXPECT_TRUE(boxes[0].text.contains("No parallel port at I/O address 0x378"));
    EXPECT_TRUE(boxes[0].text.contains("This machine's parallel port is at 0xDC00"));
    EXPECT_NE(window->state.counter_frequency, 0) << "start-up carried on after the box";
    window->Command1->click();
    EXPECT_EQ(window->state.samples[500], 136) << "an unconnected bus reads 255";
    pickAndSweep(0);
    ASSERT_EQ(boxes.size(), 2U) << "picking the address shown tries again";

    tree.addPort("parport1", 0x378);
    pickAndSweep(0);
    EXPECT_EQ(boxes.size(), 2U);
    EXPECT_EQ(window->state.samples[500], 0) << "every status reading was 0x78";
}

} // namespace
} // namespace vistrace::testing
