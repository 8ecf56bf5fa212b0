#include "system_colours.h"

namespace vistrace::system_colours {

QColor menuBar(const QPalette& palette) {
    return palette.color(kWindowBackground);
}

QColor grid(const QPalette& palette) {
    const QColor background = palette.color(kScreenBackground);
    const QColor text = palette.color(QPalette::Text);
    return {(background.red() + text.red()) / 2, (background.green() + text.green()) / 2,
            (background.blue() + text.blue()) / 2};
}

} // namespace vistrace::system_colours
