#pragma once

#include "fake_counter.h"
#include "scope_window.h"
#include "scripted_port.h"

#include <QImage>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vistrace::testing {

// What a modal box showed before it was answered.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    int icon = -1;
};

// A freshly loaded window on a scripted port and a fake counter whose step is one
// millisecond: every timed sample then takes exactly two counter readings, so the number
// of sweeps captured can be read off the counter.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void load() { window->load(); }

    [[nodiscard]] int captures() const {
        return counter.readings / (2 * window->state.sample_count);
    }
    [[nodiscard]] bool runEnabled() const;

    // Number of pure blue pixels on the screen's run-time drawing.
    [[nodiscard]] int bluePixels() const;

    // Runs action from the event loop once the pump next runs.
    static void post(QObject* context, std::function<void()> action);
    // Runs action before the port access in which condition first holds.
    void whenPort(std::function<bool()> condition, std::function<void()> action);

    // Answers the next modal message box with OK, noting what it showed; whileOpen runs
    // first, while the box is still open.
    void answerNextBox(SeenBox& seen, std::function<void()> whileOpen = {});

    ScriptedPort port;
    FakeCounter counter{1'000'000, 1'000};
    std::unique_ptr<ScopeWindow> window;

private:
    struct Watch {
        std::function<bool()> condition;
        std::function<void()> action;
        bool done = false;
    };
    std::vector<Watch> watches_;
    std::unique_ptr<QTimer> boxPoll_;
};

} // namespace vistrace::testing
