#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace vistrace {
namespace {

// Fusion, with a narrower arrow in the drop-downs. Fusion keeps 19 pixels for the arrow and
// starts a list's text 4 pixels in, which leaves the 49-pixel port list 24 pixels for "DC00",
// 28 pixels wide at 8 points. A 13-pixel arrow, still roomy around its 7-pixel glyph, and
// the text 2 pixels in as in an editable field, leave it 32.
class InstrumentStyle : public QProxyStyle {
public:
    InstrumentStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
            return rect;
        }
        const QRect whole = option->rect;
        const QRect arrow(whole.right() - kEdge - kArrowWidth + 1, whole.top(), kArrowWidth,
                          whole.height());
        if (part == SC_ComboBoxArrow) {
            return visualRect(option->direction, whole, arrow);
        }
        const QRect field(QPoint(whole.left() + kEdge, rect.top()),
                          QPoint(arrow.left() - 1, rect.bottom()));
        return visualRect(option->direction, whole, field);
    }

private:
    static constexpr int kArrowWidth = 13;
    static constexpr int kEdge = 2;
};

} // namespace

// The layout gives every control a fixed pixel size, made for a small 8-point interface
// font. Qt's defaults vary with the desktop: the style decides a list's arrow and frame
// widths, and the default font is often larger, which cut captions such as "Trigger Mode"
// short. One style drawn the same everywhere, and Liberation Sans (metric-compatible with
// Arial, in Debian's fonts-liberation2) at 8 points, fit every caption and item at any scale
// factor. The two bold labels ask for "MS Sans Serif", which Linux does not have; without
// the substitution fontconfig picks any sans serif, some too wide for "Time/Div".
void pinAppearance() {
    QApplication::setStyle(new InstrumentStyle);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    QApplication::setFont(font);
}

} // namespace vistrace
