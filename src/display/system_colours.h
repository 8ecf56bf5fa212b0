#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace vistrace {

// A colour word holds red in its low byte, green in the middle byte and blue in the high byte.
constexpr QRgb rgbFromColourWord(std::uint32_t word) {
    return qRgb(static_cast<int>(word & 0xFFU), static_cast<int>((word >> 8) & 0xFFU),
                static_cast<int>((word >> 16) & 0xFFU));
}

inline constexpr std::uint32_t kPureRedWord = 0x0000FF;
inline constexpr std::uint32_t kPureBlueWord = 0xFF0000;

// The window's colours that are named by system role rather than fixed. Every widget of the
// window takes these roles from here, so the look follows the desktop's palette, light or dark.
namespace system_colours {

// The menu-bar colour, as the window's background.
inline constexpr QPalette::ColorRole kWindowBackground = QPalette::Window;
// The title-bar-text colour, the screen's background: a content surface, like a text field.
inline constexpr QPalette::ColorRole kScreenBackground = QPalette::Base;
// The window-text colour of the window's own rules.
inline constexpr QPalette::ColorRole kWindowText = QPalette::WindowText;
// Labels: button-face background, button-text characters.
inline constexpr QPalette::ColorRole kLabelBackground = QPalette::Button;
inline constexpr QPalette::ColorRole kLabelText = QPalette::ButtonText;

// The menu-bar colour of the dotted rules on the window's top edge.
QColor menuBar(const QPalette& palette);

// The graticule's grid colour. The menu-bar colour itself would vanish on the screen's
// background under common palettes (a near-white grey on white), so the grid takes the
// colour halfway between the screen's background and the text drawn on it, which keeps the
// dotted lines plainly visible whether the palette is light or dark.
QColor grid(const QPalette& palette);

} // namespace system_colours
} // namespace vistrace
