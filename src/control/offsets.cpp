#include "instrument_tables.h"
#include "scope_window.h"

#include <QScrollBar>

namespace vistrace {

void ScopeWindow::XOffset_Change() {
    redraw();
}

void ScopeWindow::XOffset_Scroll() {
    redraw();
}

void ScopeWindow::YOffset_Change() {
    redraw();
}

void ScopeWindow::YOffset_Scroll() {
    redraw();
}

// "Reser Offset": recentre, then a fresh sweep without any trigger wait. Setting a bar runs
// its change handler at once when it moves.
void ScopeWindow::Command1_Click() {
    setBarPosition(YOffset, kRestYOffset);
    setBarPosition(XOffset, kRestXOffset);
    captureAndRedraw();
}

} // namespace vistrace
