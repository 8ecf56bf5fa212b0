#include "control_fixture.h"
#include "fake_scheduler.h"
#include "realtime_sweeps.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vistrace::testing {
namespace {

constexpr int kNoSelection = -1;
constexpr int kRepeat = 1;
constexpr int kSingle = 2;

class RunLoop : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        load();
        port.clearAccesses();
    }

    [[nodiscard]] std::size_t accessCount() const { return port.accesses().size(); }

    // Posts a Stop click once the port has seen extra more accesses.
    void stopAfterAccesses(std::size_t extra) {
        const std::size_t until = accessCount() + extra;
        whenPort([this, until] { return accessCount() >= until; },
                 [this] { post(window.get(), [this] { window->Command2->click(); }); });
    }

    void run() { window->Command4->click(); }
};

// No selected mode runs free like "None".
TEST_F(RunLoop, NoneRunsFreeUntilStopThenKeepsTheLastSweep) {
    port.setStandingSample(128);
    window->trigger_mode_box->setCurrentIndex(kNoSelection);
    whenPort([this] { return captures() >= 3; },
             [this] { post(window.get(), [this] { window->Command2->click(); }); });
    run();

    // Stop is posted during the third capture and handled in the pump at the end of it.
    EXPECT_EQ(captures(), 3);
    EXPECT_TRUE(runEnabled());
    EXPECT_FALSE(window->loopRunning());
    EXPECT_TRUE(window->state.stop_requested);
    EXPECT_GT(bluePixels(), 0);
    // No pass ever waited for a trigger: every access belongs to a capture.
    EXPECT_EQ(accessCount(), 3U * 500U * 6U);
}

TEST_F(RunLoop, RepeatCapturesOnlyRightAfterATrigger) {
    window->trigger_mode_box->setCurrentIndex(kRepeat);
    port.setStandingSample(140);                       // constant: never a trigger
    port.queueSamples({140, 140, 140, 140, 130, 120}); // third pair rises past 126
    whenPort([this] { return captures() >= 1; }, [this] { stopAfterAccesses(240); });
    run();

    EXPECT_EQ(captures(), 1);
    const auto& log = port.accesses();
    // Three pairs of reads (12 accesses each), then the capture begins at once.
    ASSERT_GT(log.size(), 36U + 3000U);
    EXPECT_EQ(log[36], write(888, 254));
    EXPECT_EQ(log[39], read(889, ScriptedPort::readingsFor(140).first));
    // After the capture only trigger pairs were read, until Stop ended the wait.
    EXPECT_EQ((log.size() - 36U - 3000U) % 12U, 0U);
    EXPECT_TRUE(runEnabled());
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(RunLoop, SingleBlanksTheScreenThenDrawsExactlyOneSweepAndStopsItself) {
    port.setStandingSample(128);
    window->Command1->click(); // a sweep on the screen before the single shot
    ASSERT_GT(bluePixels(), 0);
    window->trigger_mode_box->setCurrentIndex(kSingle);
    port.setStandingSample(100);
    port.queueSamples({130, 130, 130, 120});
    int blueWhileArmed = -1;
    whenPort([] { return true; }, [&] { blueWhileArmed = bluePixels(); });
    run();

    EXPECT_EQ(blueWhileArmed, 0);
    EXPECT_EQ(captures(), 2); // the reset's and the single shot's
    EXPECT_EQ(window->state.samples[1], 100);
    EXPECT_GT(bluePixels(), 0);
    EXPECT_TRUE(runEnabled());
    EXPECT_TRUE(window->state.stop_requested);
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(RunLoop, StopEndsAWaitThatNeverTriggersAndKeepsTheLastSweep) {
    port.setStandingSample(128);
    window->Command1->click();
    const int before = bluePixels();
    window->trigger_mode_box->setCurrentIndex(kRepeat);
    stopAfterAccesses(600);
    run();

    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(bluePixels(), before);
    EXPECT_TRUE(runEnabled());
    EXPECT_FALSE(window->loopRunning());
}

TEST_F(RunLoop, AboutPausesTheLoopUntilDismissed) {
    port.setStandingSample(128);
    int whenShown = -1;
    int beforeOk = -1;
    SeenBox box;
    answerNextBox(box, [&] {
        whenShown = captures();
        QEventLoop settle;
        QTimer::singleShot(30, &settle, &QEventLoop::quit);
        settle.exec();
        beforeOk = captures();
    });
    whenPort([this] { return captures() >= 2; },
             [this] { post(window.get(), [this] { window->mnuabout->trigger(); }); });
    whenPort([&] { return whenShown >= 0 && captures() >= whenShown + 2; },
             [this] { post(window.get(), [this] { window->Command2->click(); }); });
    run();

    EXPECT_EQ(box.text, "Vistrace for Windows Ver 1.00");
    EXPECT_EQ(whenShown, beforeOk);
    EXPECT_EQ(captures(), whenShown + 2);
    EXPECT_FALSE(window->ending());
}

// The trigger wait pumps events and may wait for ever: only the sweeps around it are raised.
TEST_F(RunLoop, SingleShotRaisesItsSweepButNeverTheTriggerWait) {
    FakeScheduler scheduler;
    counter.step = 10; // 10 us a reading: sweeps of 10 ms, well within the share
    RealtimeSweeps sweeps(scheduler, counter, {950'000, 1'000'000});
    window = std::make_unique<ScopeWindow>(port, counter, sweeps);
    load();
    window->setListIndex(window->trigger_mode_box, kSingle);
    std::vector<bool> raisedAt;
    port.beforeAccess = [&](const PortAccess&) { raisedAt.push_back(scheduler.priority != 0); };
    window->Command1_Click();                                    // a sweep of its own first
    port.queueSamples({130, 130, 130, 130, 130, 130, 130, 120}); // the fourth pair triggers
    window->Command4_Click();
    constexpr int kSweep = 500 * 6; // accesses of a sweep, then of the wait's four pairs
    std::vector<bool> expected(kSweep + 4 * 2 * 6 + kSweep, true);
    std::fill_n(expected.begin() + kSweep, 4 * 2 * 6, false);
    EXPECT_EQ(raisedAt, expected);
}

} // namespace
} // namespace vistrace::testing
