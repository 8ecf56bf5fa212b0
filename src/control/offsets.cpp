#include "scope_window.h"

#include <QScrollBar>

namespace vistrace {

void ScopeWindow::redrawStoredSweep() {
    scope->clear();
    drawtrace();
}

void ScopeWindow::XOffset_Change() {
    redrawStoredSweep();
}

void ScopeWindow::XOffset_Scroll() {
    redrawStoredSweep();
}

void ScopeWindow::YOffset_Change() {
    redrawStoredSweep();
}

void ScopeWindow::YOffset_Scroll() {
    redrawStoredSweep();
}

// "Reser Offset": recentre, then a fresh sweep without any trigger wait. Setting a bar runs
// its change handler at once when it moves.
void ScopeWindow::Command1_Click() {
    setBarPosition(YOffset, 212);
    setBarPosition(XOffset, 0);
    readport();
    scope->clear();
    drawtrace();
}

} // namespace vistrace
