#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace vistrace {

// The layout gives every control a fixed pixel size, made for a small 8-point interface
// font. Qt's defaults vary with the desktop: the style decides a list's arrow and frame
// widths, and the default font is often larger, which cut captions such as "Trigger Mode"
// short. Fusion draws the same everywhere, and Liberation Sans (metric-compatible with
// Arial, in Debian's fonts-liberation2) at 8 points fits every caption and item with a few
// pixels to spare, at any scale factor. The two bold labels ask for "MS Sans Serif", which
// Linux does not have; without the substitution fontconfig picks any sans serif, some too
// wide for "Time/Div" in its 65 pixels.
void pinAppearance() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    QApplication::setFont(font);
}

} // namespace vistrace
