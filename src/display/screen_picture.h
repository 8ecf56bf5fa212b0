#pragma once

#include "scope_state.h"

#include <QImage>

namespace vistrace {

// The screen's client area as the window shows it after clearing and drawing the sweep in
// state at the given offset-bar positions: the trace and the graticule above it, drawn by the
// screen and trace code itself on a screen of its own that is never shown.
QImage screenPicture(const ScopeState& state, int xOffset, int yOffset);

} // namespace vistrace
