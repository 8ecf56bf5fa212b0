#pragma once

#include "fake_counter.h"
#include "scope_window.h"
#include "scripted_port.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vistrace::testing {

inline constexpr std::size_t kSweep = std::size_t{500} * 6; // port accesses of a default capture
inline constexpr std::size_t kPair = 12;                    // port accesses of one trigger pair

// What a modal message box showed before it was answered.
struct SeenBox {
    bool shown = false;
    QString title, text;
    int icon = -1;
};

// A fresh window on a scripted port and a fake counter whose step is one millisecond: every
// timed sample then takes exactly two counter readings, so the number of sweeps captured can
// be read off the counter. SetUp and TearDown may also run in pairs inside a test, per row.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void load() { window->load(); }

    [[nodiscard]] int captures() const {
        return counter.readings / (2 * window->state.sample_count);
    }
    [[nodiscard]] bool runEnabled() const;
    [[nodiscard]] std::size_t accessCount() const { return port.accesses().size(); }
    // Pure blue pixels of the screen's run-time drawing, in all or at one pixel.
    [[nodiscard]] int bluePixels() const;
    [[nodiscard]] bool blueAt(int x, int y) const;

    // Runs action from the event loop once the pump next runs.
    static void post(QObject* context, std::function<void()> action) {
        QTimer::singleShot(0, context, std::move(action));
    }
    // Runs action before the port access in which condition first holds.
    void whenPort(std::function<bool()> condition, std::function<void()> action);
    // Answers the next modal message box with OK, noting what it showed; whileOpen runs
    // first, while the box is still open.
    void answerNextBox(SeenBox& seen, std::function<void()> whileOpen = {});

    ScriptedPort port;
    FakeCounter counter;
    std::unique_ptr<ScopeWindow> window;

private:
    std::vector<std::pair<std::function<bool()>, std::function<void()>>> watches_;
    std::unique_ptr<QTimer> boxPoll_;
};

} // namespace vistrace::testing
