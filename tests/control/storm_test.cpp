#include "control_fixture.h"
#include "selector_tables.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <random>

namespace vistrace::testing {
namespace {

// Thousands of operator events queued while the loop runs: scroll-bar moves, selector
// changes, and Stop with Run right behind it. The loop must keep capturing and drawing,
// must never nest, and must end in the state the last events asked for.
class EventStorm : public ControlTest {
protected:
    static constexpr int kPassesPerRound = 5;
    static constexpr int kEventsPerBatch = 400;

    void SetUp() override {
        ControlTest::SetUp();
        // Every timed sample then takes exactly two counter readings, whatever the interval.
        counter.step = 10'000'000;
        load();
        port.setStandingSample(90);
    }

    // Queues a batch of random operator events; the batch of a round's last pass ends with
    // an offset move, Stop and Run.
    void postBatch(bool lastOfRound) {
        for (int i = 0; i < kEventsPerBatch; ++i) {
            postRandomEvent();
        }
        if (lastOfRound) {
            ScopeWindow* win = window.get();
            lastX = pick(-500, 500);
            post(win, [win, x = lastX] { win->XOffset->setValue(x); });
            post(win, [win] { win->Command2->click(); });
            post(win, [win] { win->Command4->click(); });
        }
    }

    void postRandomEvent() {
        ScopeWindow* win = window.get();
        switch (pick(0, 5)) {
        case 0:
            lastX = pick(-500, 500);
            post(win, [win, x = lastX] { win->XOffset->setValue(x); });
            break;
        case 1:
            lastY = pick(1, 420);
            post(win, [win, y = lastY] { win->YOffset->setValue(y); });
            break;
        case 2: // the two fastest rows do not wait and would hide captures from the counter
            lastTimeBase = pick(2, 8);
            post(win, [win, index = lastTimeBase] { win->TimeBase_box->setCurrentIndex(index); });
            break;
        case 3:
            lastGain = pick(0, 5);
            post(win, [win, index = lastGain] { win->VoltPerDiv_Box->setCurrentIndex(index); });
            break;
        case 4:
            lastLevel = pick(0, 11);
            post(win,
                 [win, index = lastLevel] { win->trigger_voltage_box->setCurrentIndex(index); });
            break;
        default: // Run clicked while the loop runs
            post(win, [win] { win->Command4->click(); });
            break;
        }
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    int lastX = 0;
    int lastY = 212;
    int lastTimeBase = 2;
    int lastGain = 0;
    int lastLevel = 5;

private:
    std::mt19937 random_{1234};
};

TEST_F(EventStorm, TheLoopKeepsDrawingNeverNestsAndEndsInTheLastAskedState) {
    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        const int start = captures();
        for (int pass = 1; pass <= kPassesPerRound; ++pass) {
            whenPort([this, start, pass] { return captures() >= start + pass; },
                     [this, pass] { postBatch(pass == kPassesPerRound); });
        }
        // A nested loop would run on after the round's Stop; this ends it all the same.
        whenPort([this, start] { return captures() >= start + 50; },
                 [this] { post(window.get(), [this] { window->Command2->click(); }); });

        window->Command4->click();

        ASSERT_EQ(captures() - start, kPassesPerRound) << "round " << round;
        ASSERT_FALSE(window->loopRunning());
        ASSERT_TRUE(runEnabled());
    }

    EXPECT_EQ(window->XOffset->value(), lastX);
    EXPECT_EQ(window->YOffset->value(), lastY);
    EXPECT_EQ(window->TimeBase_box->currentIndex(), lastTimeBase);
    EXPECT_EQ(window->VoltPerDiv_Box->currentIndex(), lastGain);
    EXPECT_EQ(window->trigger_voltage_box->currentIndex(), lastLevel);
    EXPECT_EQ(window->state.trigger_level,
              kTriggerLevelRows[static_cast<std::size_t>(lastLevel)].trigger_level);
    EXPECT_EQ(window->state.volts_gain, kGainRows[static_cast<std::size_t>(lastGain)].volts_gain);

    // The last thing drawn is the stored sweep at the final offsets and settings.
    const QImage shown = window->scope->runtimeLayer();
    window->scope->clear();
    window->drawtrace();
    EXPECT_EQ(shown, window->scope->runtimeLayer());
    EXPECT_GT(bluePixels(), 0);
}

} // namespace
} // namespace vistrace::testing
