#include "control_fixture.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// A port that fails is reported in a critical box titled "Vistrace", the program ends with
// status 1, and the last good sweep is never overwritten.
class Faults : public ControlTest {
protected:
    void failFrom(std::size_t access) {
        whenPort([this, access] { return port.accesses().size() >= access; },
                 [] { throw PortError("Parallel port /dev/parport0 (I/O address 0x378) failed"); });
    }

    void expectReportedAndEnded() const {
        EXPECT_EQ(box.title, "Vistrace");
        EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Critical));
        EXPECT_EQ(box.text, "Parallel port /dev/parport0 (I/O address 0x378) failed");
        EXPECT_TRUE(window->ending());
        EXPECT_EQ(window->exitCode(), 1);
        EXPECT_FALSE(window->loopRunning());
    }

    void loadAndTakeAGoodSweep() {
        load();
        port.setStandingSample(60);
        window->Command1->click();
        port.setStandingSample(200);
        port.clearAccesses();
    }

    [[nodiscard]] bool lastGoodSweepKept() const {
        for (int i = 1; i <= 500; ++i) {
            if (window->state.samples[i] != 60) {
                return false;
            }
        }
        return true;
    }

    SeenBox box;
};

TEST_F(Faults, APortFailingAtTheIdleWriteEndsStartUp) {
    failFrom(0);
    answerNextBox(box);
    load();
    expectReportedAndEnded();
    EXPECT_EQ(counter.readings, 0);
    EXPECT_EQ(window->state.counter_frequency, 0); // the steps after the write did not run
}

TEST_F(Faults, APortFailingMidCaptureKeepsTheLastGoodSweep) {
    loadAndTakeAGoodSweep();
    failFrom(std::size_t{6} * 250);
    answerNextBox(box);
    window->Command4->click();
    expectReportedAndEnded();
    EXPECT_TRUE(lastGoodSweepKept());
}

TEST_F(Faults, APortFailingInATriggerWaitIsReported) {
    loadAndTakeAGoodSweep();
    window->trigger_mode_box->setCurrentIndex(1); // a constant input never triggers
    failFrom(std::size_t{12} * 40);
    answerNextBox(box);
    window->Command4->click();
    expectReportedAndEnded();
    EXPECT_TRUE(lastGoodSweepKept());
}

TEST_F(Faults, ATimedSweepWithoutACounterFailsInTheFirstWait) {
    loadAndTakeAGoodSweep();
    window->state.counter_frequency = 0;
    answerNextBox(box);
    window->Command4->click();
    EXPECT_EQ(box.text, "Division by zero");
    EXPECT_EQ(window->exitCode(), 1);
    EXPECT_EQ(port.accesses(),
              (std::vector<PortAccess>{write(888, 254), write(888, 255), write(888, 253)}));
    EXPECT_TRUE(lastGoodSweepKept());
}

} // namespace
} // namespace vistrace::testing
