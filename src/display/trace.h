#pragma once

#include "scope_screen.h"
#include "scope_state.h"

class QAbstractSlider;

namespace vistrace {

// Draws samples 1 to sample_count as the blue trace: one segment per sample, from the
// sample's column to one unit right of it, at the offsets the two bars show. The offsets are
// the bars' thumb positions, read afresh for every point, so a trace redrawn during a drag
// follows the thumb. Does not clear the screen first.
void drawTrace(const ScopeState& state, ScopeScreen& screen, const QAbstractSlider& xOffset,
               const QAbstractSlider& yOffset);

} // namespace vistrace
