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
// wait, until its next pump); a press then must not start a second loop inside the first.
void ScopeWindow::Command4_Click() {
    if (loopRunning_) {
        return;
    }
    const LoopGuard guard(loopRunning_);
    // Disabled while focused, Run would pass the focus on down the tab order to the port
    // list, where an arrow key would change the port mid-run. Stop is what comes next. The
    // window's own focus widget decides: Qt moves it on also while the window is inactive,
    // when hasFocus() is false.
    if (focusWidget() == Command4) {
        Command2->setFocus(Qt::OtherFocusReason);
    }
    Command4->setEnabled(false);
    state.stop_requested = false;
    while (!state.stop_requested) {
        runPass();
    }
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

void ScopeWindow::runSingleShot() {
    scope->clear();
    if (waittrigger() == TriggerOutcome::Stopped) {
        return;
    }
    captureAndRedraw();
    Command2_Click();
}

// Stop.
void ScopeWindow::Command2_Click() {
    Command4->setEnabled(true);
    state.stop_requested = true;
}

} // namespace vistrace
