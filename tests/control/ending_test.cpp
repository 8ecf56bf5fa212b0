#include "control_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

class Ending : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        load();
        port.clearAccesses();
    }

    // Runs action from the pump once the port has seen `after` accesses, noting how many
    // accesses had been made when it ran.
    void atPump(std::size_t after, std::function<void()> action) {
        whenPort([this, after] { return port.accesses().size() >= after; },
                 [this, action = std::move(action)] {
                     post(window.get(), [this, action] {
                         action();
                         accessesAtEnd = port.accesses().size();
                     });
                 });
    }

    std::size_t accessesAtEnd = 0;
};

TEST_F(Ending, ExitInsideATriggerWaitEndsAtOnceWithStatusZero) {
    window->trigger_mode_box->setCurrentIndex(1);
    atPump(300, [this] { window->mnuexit->trigger(); });
    window->Command4->click();

    EXPECT_TRUE(window->ending());
    EXPECT_EQ(window->exitCode(), 0);
    EXPECT_EQ(port.accesses().size(), accessesAtEnd);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(Ending, ClosingTheWindowInsideARunningLoopEndsItWithStatusZero) {
    atPump(5000, [this] { window->close(); });
    window->Command4->click();

    EXPECT_TRUE(window->ending());
    EXPECT_EQ(window->exitCode(), 0);
    EXPECT_EQ(port.accesses().size(), accessesAtEnd);
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(Ending, NoHandlerRunsOnceTheProgramHasEnded) {
    window->trigger_mode_box->setCurrentIndex(1);
    atPump(120, [this] {
        window->mnuexit->trigger();
        window->Command1->click(); // queued behind Exit in the same pump
        window->TimeBase_box->setCurrentIndex(0);
    });
    window->Command4->click();

    EXPECT_EQ(port.accesses().size(), accessesAtEnd);
    EXPECT_EQ(window->state.sample_count, 500);
}

TEST_F(Ending, ClosingTheWindowInsideATriggerWaitEndsIt) {
    window->trigger_mode_box->setCurrentIndex(2);
    atPump(120, [this] { window->close(); });
    window->Command4->click();

    EXPECT_TRUE(window->ending());
    EXPECT_EQ(window->exitCode(), 0);
    EXPECT_EQ(port.accesses().size(), accessesAtEnd);
}

TEST_F(Ending, APortFailureMidCaptureIsReportedKeepsTheLastSweepAndEndsWithStatusOne) {
    port.setStandingSample(128);
    whenPort([this] { return captures() >= 1; },
             [this] { post(window.get(), [this] { port.setStandingSample(30); }); });
    whenPort([this] { return counter.readings >= 1000 + 400; },
             [] {
                 throw PortError(
                     "Parallel port /dev/parport0 (I/O address 0x378) failed: PPRSTATUS: "
                     "No such device");
             });
    SeenBox box;
    answerNextBox(box);
    window->Command4->click();

    EXPECT_EQ(box.title, "Vistrace");
    EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Critical));
    EXPECT_TRUE(box.text.contains("/dev/parport0"));
    EXPECT_TRUE(window->ending());
    EXPECT_EQ(window->exitCode(), 1);
    for (int i = 1; i <= 500; ++i) {
        ASSERT_EQ(window->state.samples[i], 128) << "sample " << i;
    }
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(Ending, ADivisionErrorInTheSampleWaitIsReported) {
    window->state.counter_frequency = 0;
    SeenBox box;
    answerNextBox(box);
    window->Command4->click();

    EXPECT_EQ(box.text, "Division by zero");
    EXPECT_EQ(window->exitCode(), 1);
    // Three writes of sample 1, then the wait failed.
    EXPECT_EQ(port.accesses().size(), 3u);
    EXPECT_EQ(port.accesses().back(), write(888, 253));
}

} // namespace
} // namespace vistrace::testing
