#include "errors.h"
#include "instrument_tables.h"
#include "scope_window.h"

#include <QComboBox>
#include <QPushButton>

namespace vistrace {
namespace {

// Marks the loop as running for exactly as long as its handler is on the stack, however it
// leaves (normally, by an error or by the program ending).
class LoopGuard {
public:
    explicit LoopGuard(bool& running) : running_(running) { running_ = true; }
    ~LoopGuard() { running_ = false; }
    LoopGuard(const LoopGuard&) = delete;
    LoopGuard& operator=(const LoopGuard&) = delete;

private:
    bool& running_;
};

} // namespace

// Run. Stop enables the button again while the loop is still finishing (inside a trigger
// wait, or in the pump at the end of a pass); a press then takes the Stop back and the loop
// carries on, rather than start a second loop inside the first.
void ScopeWindow::Command4_Click() {
    disableRun();
    state.stop_requested = false;
    if (loopRunning_) {
        return;
    }
    const LoopGuard guard(loopRunning_);
    while (!state.stop_requested) {
        runPass();
    }
}

// Disabled while focused, Run would pass the focus on down the tab order to the port list,
// where an arrow key would change the port mid-run. Stop is what comes next. The window's own
// focus widget decides: Qt moves it on also while the window is inactive, when hasFocus() is
// false.
void ScopeWindow::disableRun() {
    if (focusWidget() == Command4) {
        Command2->setFocus(Qt::OtherFocusReason);
    }
    Command4->setEnabled(false);
}

// The mode is read again after the wait, not kept: a switch to Single made during the wait
// takes effect in the same pass.
void ScopeWindow::runPass() {
    if (trigger_mode_box->currentIndex() == static_cast<int>(TriggerMode::Repeat)) {
        if (waittrigger() == TriggerOutcome::Stopped) {
            return;
        }
    }
    if (trigger_mode_box->currentIndex() == static_cast<int>(TriggerMode::Single)) {
        runSingleShot();
        return;
    }
    captureAndRedraw();
    pumpEvents();
}

// A port that fails while the shot is armed must not leave the screen blank: the last sweep
// comes back, as it stays after a failure in any other pass.
void ScopeWindow::runSingleShot() {
    scope->clear();
    try {
        if (waittrigger() == TriggerOutcome::Stopped) {
            return;
        }
        captureAndRedraw();
    } catch (const PortError&) {
        redraw();
        throw;
    }
    Command2_Click();
}

// Stop.
void ScopeWindow::Command2_Click() {
    Command4->setEnabled(true);
    state.stop_requested = true;
}

} // namespace vistrace
