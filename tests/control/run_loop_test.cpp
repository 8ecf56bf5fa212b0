#include "control_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

class RunLoop : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        load();
        port.clearAccesses();
    }
    void setMode(int mode) { window->trigger_mode_box->setCurrentIndex(mode); }
    void setModeInPump(int mode) {
        post(window.get(), [this, mode] { setMode(mode); });
    }
    void run() { window->Command4->click(); }
    void expectIdle() const {
        EXPECT_TRUE(runEnabled());
        EXPECT_FALSE(window->loopRunning());
        EXPECT_TRUE(window->state.stop_requested);
    }
};

// No selected mode runs free like "None"; About answered in between does not end it.
TEST_F(RunLoop, NoneRunsFreeUntilStopThenKeepsTheLastSweep) {
    port.setStandingSample(128);
    setMode(-1);
    SeenBox about;
    answerNextBox(about);
    whenPort([this] { return captures() >= 1; },
             [this] { post(window.get(), [this] { window->mnuabout->trigger(); }); });
    stopWhen([this] { return captures() >= 3; });
    run();
    EXPECT_TRUE(about.shown);
    EXPECT_EQ(captures(), 3); // Stop is handled in the pump at the end of the third capture
    EXPECT_EQ(accessCount(), 3 * kSweep);
    EXPECT_GT(bluePixels(), 0);
    expectIdle();
}

TEST_F(RunLoop, RepeatCapturesOnlyRightAfterATrigger) {
    setMode(1);
    port.setStandingSample(140);                       // constant: never a trigger
    port.queueSamples({140, 140, 140, 140, 130, 120}); // the third pair rises past 126
    stopWhen([this] { return accessCount() >= 3 * kPair + kSweep + 20 * kPair; });
    run();
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(port.accesses()[3 * kPair + 3], read(889, ScriptedPort::readingsFor(140).first));
    EXPECT_EQ(accessCount(), 3 * kPair + kSweep + 21 * kPair); // then pairs only
    expectIdle();
}

// The mode is read before each of the two decisions of a pass, as the events left it:
// Repeat to Single during the wait gives, in the same pass, the single shot with its own wait;
// None to Repeat while running makes the next pass wait.
TEST_F(RunLoop, TheModeIsReadBeforeEachDecision) {
    port.setStandingSample(140);
    setMode(1);
    port.queueSamples({140, 140, 130, 120, 130, 120});
    whenPort([] { return true; }, [this] { setModeInPump(2); });
    run();
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(accessCount(), 3 * kPair + kSweep);
    expectIdle();
    setMode(0);
    port.clearAccesses();
    counter.readings = 0;
    whenPort([this] { return captures() >= 1; }, [this] { setModeInPump(1); });
    stopWhen([this] { return accessCount() >= kSweep + 5 * kPair; });
    run();
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(accessCount(), kSweep + 6 * kPair); // Stop is seen after the pair it came in
}

TEST_F(RunLoop, SingleBlanksTheScreenThenDrawsExactlyOneSweepAndStopsItself) {
    port.setStandingSample(128);
    window->Command1->click(); // a sweep on the screen before the single shot
    setMode(2);
    port.setStandingSample(100);
    port.queueSamples({130, 130, 130, 120});
    int blueWhileArmed = -1;
    whenPort([] { return true; }, [&] { blueWhileArmed = bluePixels(); });
    run();
    EXPECT_EQ(blueWhileArmed, 0);
    EXPECT_EQ(captures(), 2); // the reset's and the single shot's
    EXPECT_EQ(window->state.samples[1], 100);
    EXPECT_GT(bluePixels(), 0);
    expectIdle();
}

TEST_F(RunLoop, StopEndsAWaitThatNeverTriggersAndKeepsTheLastSweep) {
    port.setStandingSample(128);
    window->Command1->click();
    const int before = bluePixels();
    setMode(1);
    stopWhen([this] { return accessCount() >= kSweep + 600; });
    run();
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(bluePixels(), before);
    expectIdle();
}

// Stop enables Run before the loop has ended; a Run handled in the same pump must not start
// a second loop inside the first.
TEST_F(RunLoop, StopAndRunInOnePumpNeverNestALoop) {
    whenPort([this] { return captures() >= 2; },
             [this] {
                 post(window.get(), [this] { window->Command2->click(); });
                 post(window.get(), [this] { window->Command4->click(); });
             });
    stopWhen([this] { return captures() >= 10; }); // ends a nested loop all the same
    run();
    EXPECT_EQ(captures(), 2);
    expectIdle();
}

} // namespace
} // namespace vistrace::testing
