#include "control_fixture.h"
#include "fake_parport.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace vistrace::testing {
namespace {

// The window on the ppdev back end over a fake tree of the machine's ports.
class PortChoice : public ControlTest {
protected:
    void open() {
        ppdev = std::make_unique<PpdevPort>(tree.proc(), tree.dev(), tree.calls());
        window = std::make_unique<ScopeWindow>(*ppdev, counter, ppdev.get());
        boxPoll.setInterval(5);
        QObject::connect(&boxPoll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back({true, box->windowTitle(), box->text(), box->icon()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        boxPoll.start();
        load();
    }

    // As the operator picks an item: also the one already shown.
    void pick(int index) {
        window->Port_Address_Box->setCurrentIndex(index);
        emit window->Port_Address_Box->activated(index);
    }

    [[nodiscard]] long count(const std::string& call) const {
        return std::ranges::count(tree.log, call);
    }

    [[nodiscard]] bool flatAt(std::uint8_t sample) const {
        for (int i = 1; i <= 500; ++i) {
            if (window->state.samples[i] != sample) {
                return false;
            }
        }
        return true;
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
    QStringList items;
    for (int i = 0; i < window->Port_Address_Box->count(); ++i) {
        items << window->Port_Address_Box->itemText(i);
    }
    EXPECT_EQ(items, (QStringList{"378", "278", "3BC", "DC00"}));
    pick(3);
    EXPECT_EQ(window->state.port_address, -9216);
    window->Command1->click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(count("open parport1"), 1);
    EXPECT_EQ(count("102 PPRSTATUS"), 1000);
    EXPECT_TRUE(flatAt(0)) << "every status reading was 0x78";
}

TEST_F(PortChoice, StartUpWithoutAPortAt378WarnsOnceThenSweepsFlatUntilThePortIsThere) {
    tree.addPort("parport0", 0xDC00);
    open();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].title, "Vistrace");
    EXPECT_EQ(boxes[0].icon, static_cast<int>(QMessageBox::Warning));
    EXPECT_TRUE(boxes[0].text.contains("No parallel port at I/O address 0x378"));
    EXPECT_TRUE(boxes[0].text.contains("This machine's parallel port is at 0xDC00"));
    EXPECT_FALSE(window->ending());
    EXPECT_NE(window->state.counter_frequency, 0) << "start-up carried on after the box";

    window->Command1->click();
    EXPECT_TRUE(flatAt(136)) << "an unconnected bus reads 255";
    EXPECT_EQ(count("open parport0"), 0);

    tree.addPort("parport1", 0x378);
    pick(0);
    window->Command1->click();
    EXPECT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(flatAt(0));
}

TEST_F(PortChoice, EveryFailedPickWarnsAgainWithoutLeakingAndAFixedCauseCarriesOn) {
    tree.addPort("parport0", 0x378);
    tree.claimErrno = EBUSY;
    open();
    pick(0);
    pick(0);
    ASSERT_EQ(boxes.size(), 3U);
    EXPECT_TRUE(boxes[2].text.contains("Cannot claim"));
    EXPECT_EQ(count("open parport0"), 3);
    EXPECT_TRUE(tree.openFds.empty());

    tree.claimErrno = 0;
    pick(0);
    EXPECT_EQ(boxes.size(), 3U);
    EXPECT_EQ(tree.openFds.size(), 1U);
    EXPECT_FALSE(window->ending());
}

} // namespace
} // namespace vistrace::testing
