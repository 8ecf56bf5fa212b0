#pragma once

namespace vistrace {

// Fixes the style and the fonts the window is drawn with, whatever the desktop's defaults.
// Call once, after the application object exists and before the window is built.
void pinAppearance();

} // namespace vistrace
