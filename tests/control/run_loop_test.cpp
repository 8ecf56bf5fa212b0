#include "control_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

namespace vistrace::testing {
namespace {

// The loop as the operator drives it from its pumps, a window per row: trigger mode, a sweep of one
// constant sample before Run (or -1), the standing sample and queue, and steps before the access of
// that number since Run (operator actions come in the next pump; notes check there). A port failure
// keeps the sweep before Run. Counts are from Run, which times the port unless a sweep has; exit
// code -1: the program carries on.
struct Row {
    const char* what;
    int mode, before, standing;
    std::vector<std::uint8_t> queued;
    std::vector<std::pair<std::size_t, std::function<void()>>> steps;
    int captures;
    std::size_t accesses;
    int exitCode = -1;
    const char* message = ""; // of the box: a warning, or the error that ended the program
};

// clang-format off
constexpr std::array kScenarios{
    "RunsFreeUntilStop", "RepeatCapturesRightAfterItsTrigger", "RepeatTurnedSingleInItsWait",
    "NoneTurnedRepeat", "SingleShot", "StopEndsAnEndlessWait", "StopAndRunInOnePump",
    "StopAndRunInOnePumpOfASingleWait", "TimeBaseChangedWhileRunning", "ResetInAWait",
    "BarMovedInASingleWait", "PortGoneWhileItIsTimed", "PortGoneMidSweep", "PortGoneMidWait",
    "PortGoneInASingleWait", "TimedSweepWithoutCounter", "ExitInAWait", "CloseWhileRunning",
    "CloseInASingleWait"};
// clang-format on

struct Loop : ControlTest, ::testing::WithParamInterface<std::size_t> {
    static constexpr std::size_t kRows = kScenarios.size();
    std::vector<Row> rows();
    std::function<void()> stop = later([this] { window->Command2->click(); });
    std::function<void()> later(const std::function<void()>& action) {
        return [this, action] { QTimer::singleShot(0, window.get(), action); };
    }
};

std::vector<Row> Loop::rows() {
    const auto note = [](const std::function<bool()>& check) {
        return [check] { EXPECT_TRUE(check()); };
    };
    const auto mode = [&](int index) {
        return later([this, index] { window->trigger_mode_box->setCurrentIndex(index); });
    };
    const auto raised = [&](bool expected) {
        return note([this, expected] { return (scheduler.priority != 0) == expected; });
    };
    const auto run = later([this] { window->Command4->click(); });
    const std::function<void()> fail = [] { throw PortError("gone"); };
    // No handler runs once the program has ended, so these do nothing.
    const auto end = [&](bool byExit) {
        return later([this, byExit] {
            byExit ? window->mnuexit->trigger() : static_cast<void>(window->close());
            window->Command1->click();
            window->TimeBase_box->setCurrentIndex(0);
        });
    };
    // clang-format off
    return {
        {"no mode runs free, with Run disabled; About between passes; Stop after the pass", -1, -1,
         128, {}, {{kTiming + kSweep / 2, later([this] { window->mnuabout->trigger(); })},
          {kTiming + 3 * kSweep / 2,
           note([this] { return !boxes.empty() && !window->Command4->isEnabled(); })},
          {kTiming + 5 * kSweep / 2, stop}}, 3, kTiming + 3 * kSweep},
        {"Repeat: the capture begins right after the triggering pair", 1, -1, 140,
         {140, 140, 140, 140, 130, 120}, {{kTiming + 3 * kPair + 1, note([this] {
               return port.accesses[kTiming + 3 * kPair] == write(888, 254); })},
          {kTiming + kSweep + 23 * kPair, stop}}, 1, kTiming + kSweep + 24 * kPair},
        {"Repeat to Single in the wait: the single shot in the same pass", 1, -1, 140,
         {140, 140, 130, 120, 130, 120}, {{0, mode(2)}}, 1, kTiming + 3 * kPair + kSweep},
        {"None to Repeat while running: the next pass waits", 0, -1, 140, {},
         {{kTiming + kSweep / 2, mode(1)}, {kTiming + kSweep + 5 * kPair, stop}},
         1, kTiming + kSweep + 6 * kPair},
        {"Single: blank while armed, one raised sweep, then it stops itself", 2, 128, 100,
         {130, 130, 130, 120}, {{0, note([this] { return bluePixels() == 0; })}, {kPair, raised(false)},
          {2 * kPair, raised(true)}, {2 * kPair + kSweep - 1, raised(true)}}, 1, 2 * kPair + kSweep},
        {"Stop ends an endless wait", 1, 128, 128, {}, {{50 * kPair, stop}}, 0, 51 * kPair},
        {"Stop and Run in one pump: the loop goes on, never nested", 0, -1, 0, {},
         {{kTiming + 3 * kSweep / 2, stop}, {kTiming + 3 * kSweep / 2, run},
          {kTiming + 5 * kSweep / 2, stop}}, 3, kTiming + 3 * kSweep},
        {"Stop and Run in one pump of a Single wait: the wait goes on", 2, 128, 100,
         {130, 130, 130, 120}, {{0, stop}, {0, run}}, 1, 2 * kPair + kSweep},
        {"a time base chosen mid-sweep takes effect at the next sweep", 0, -1, 140, {},
         {{kTiming + kSweep / 2, later([this] { window->TimeBase_box->setCurrentIndex(0); })},
          {kTiming + kSweep + 1, stop}}, 2, kTiming + kSweep + std::size_t{166} * 6},
        {"the reset in a wait captures at once and the wait carries on", 1, -1, 140, {},
         {{0, later([this] { window->Command1->click(); })}, {kTiming / 2, raised(false)},
          {kTiming + kPair + kSweep / 2, raised(true)},
          {kTiming + kSweep + 5 * kPair, note([this] { return blueAt(250, 216); })},
          {kTiming + kSweep + 5 * kPair, stop}}, 1, kTiming + kSweep + 6 * kPair},
        {"a bar moved while a single shot is armed redraws the last sweep", 2, 128, 140, {},
         {{0, later([this] { window->YOffset->setValue(300); })}, {kPair, stop},
          {kPair, note([this] { return blueAt(250, 300) && !blueAt(250, 212); })}}, 0, 2 * kPair},
        {"a port picked in a wait is timed there and fails", 1, 60, 200, {},
         {{0, later([this] { emit window->Port_Address_Box->activated(0); })},
          {kPair + kTiming / 2, fail}}, 0, kPair + kTiming / 2, -1, "gone"},
        {"a port gone mid-sweep", 0, 60, 200, {}, {{kSweep / 2, fail}}, 0, kSweep / 2, -1, "gone"},
        {"a port gone mid-wait", 1, 60, 200, {}, {{40 * kPair, fail}}, 0, 40 * kPair, -1, "gone"},
        {"a port gone in a Single wait: the last sweep comes back", 2, 60, 200, {},
         {{40 * kPair, fail}}, 0, 40 * kPair, -1, "gone"},
        {"a timed sweep without a counter, after a sample's 3 strobes", 0, 60, 200, {},
         {{0, [this] { window->state.counter_frequency = 0; }}}, 0, 3, 1, "Division by zero"},
        {"Exit in a trigger wait", 1, 60, 200, {}, {{100 * kPair, end(true)}}, 0, 101 * kPair, 0},
        {"a close in a running loop", 0, 60, 200, {}, {{kSweep / 2, end(false)}}, 1, kSweep, 0},
        {"a close in a Single wait", 2, 60, 200, {}, {{50 * kPair, end(false)}}, 0, 51 * kPair, 0},
    };
    // clang-format on
}

TEST_P(Loop, AsTheOperatorDrivesIt) {
    ASSERT_EQ(rows().size(), kRows) << "rows left out";
    const Row row = rows().at(GetParam());
    SCOPED_TRACE(row.what);
    window->load();
    if (row.before >= 0) {
        port.standing = static_cast<std::uint8_t>(row.before);
        window->Command1->click();
    }
    window->trigger_mode_box->setCurrentIndex(row.mode);
    port.standing = static_cast<std::uint8_t>(row.standing);
    port.accesses.clear();
    counted.count = 0;
    boxes.clear();
    steps = row.steps; // the row's samples come after the port is timed
    steps.emplace_back(row.before < 0 ? kTiming : 0, [&] { port.queueSamples(row.queued); });
    steps.emplace_back(20 * kSweep, stop); // a loop that runs on fails the counts, and ends
    window->Command4->click();
    EXPECT_EQ(std::tuple(counted.count, port.accesses.size(), window->exitCode(), window->ending(),
                         window->loopRunning(), window->Command4->isEnabled() || window->ending()),
              std::tuple(row.captures, row.accesses, std::max(row.exitCode, 0), row.exitCode >= 0,
                         false, true));
    EXPECT_TRUE(window->state.sample_count == 500 || row.exitCode < 0) << "a handler ran after";
    if (row.exitCode >= 0 || *row.message != '\0') {
        EXPECT_EQ(std::tuple(boxes.size(), std::ranges::count(binder.calls, "release")),
                  std::tuple(std::size_t{*row.message != '\0'}, row.exitCode < 0 ? 1 : 0));
    }
    if (*row.message != '\0' && !boxes.empty()) { // the last good sweep stays
        EXPECT_TRUE(boxes[0].text.startsWith(row.message) &&
                    boxes[0].icon ==
                        (row.exitCode < 0 ? QMessageBox::Warning : QMessageBox::Critical));
        for (int i = 1; i <= 500; ++i) {
            ASSERT_EQ(window->state.samples[i], 60) << "at " << i;
        }
    }
    if (row.exitCode < 0) {
        EXPECT_GT(bluePixels(), 0);
        emit window->Port_Address_Box->activated(0); // a port let go is picked again
        EXPECT_EQ(binder.calls.back(), "bind 0x378");
        steps = {{port.accesses.size(), stop}}; // and Run once more, stopped at its first pump
        window->Command4->click();
        EXPECT_TRUE(window->Command4->isEnabled() && window->state.stop_requested);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenario, Loop, ::testing::Range<std::size_t>(0, Loop::kRows),
                         [](const auto& scenario) { return kScenarios.at(scenario.param); });

} // namespace
} // namespace vistrace::testing
