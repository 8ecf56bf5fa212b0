#include "screen_picture.h"

#include "scope_screen.h"
#include "trace.h"

#include <QScrollBar>

namespace vistrace {
namespace {

// A bar that holds one position, as the window's rest there while nobody drags them.
void holdAt(QScrollBar& bar, int position) {
    bar.setRange(position, position);
    bar.setValue(position);
}

} // namespace

QImage screenPicture(const ScopeState& state, int xOffset, int yOffset) {
    ScopeScreen screen;
    QScrollBar xBar(Qt::Horizontal);
    QScrollBar yBar(Qt::Vertical);
    holdAt(xBar, xOffset);
    holdAt(yBar, yOffset);
    screen.clear();
    drawTrace(state, screen, xBar, yBar);
    return screen.grab(screen.contentsRect()).toImage();
}

} // namespace vistrace
