#pragma once

#include "scope_state.h"

#include <string>

namespace vistrace {

// The sweep in state as the window's screen shows it with the offset bars at rest, written
// whole as a PNG. Draws without a display: where no Qt application runs yet, one is made for
// the purpose on the offscreen platform at a device pixel ratio of 1, with the window's
// appearance. Throws WriteError.
void writeSweepPicture(const std::string& path, const ScopeState& state);

} // namespace vistrace
