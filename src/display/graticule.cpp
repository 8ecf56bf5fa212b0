#include "graticule.h"

#include "screen_units.h"
#include "system_colours.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>

namespace vistrace {
namespace {

struct GraticuleLine {
    double x1, y1, x2, y2; // screen units
    bool centre;
};

constexpr double kTop = 10;
constexpr double kBottom = 410;
constexpr double kRight = 500;

constexpr GraticuleLine vertical(double x, bool centre = false) {
    return {x, kTop, x, kBottom, centre};
}
constexpr GraticuleLine horizontal(double y, bool centre = false) {
    return {0, y, kRight, y, centre};
}

constexpr std::array<GraticuleLine, 20> kLines{{
    vertical(50),          // Line5
    vertical(100),         // Line6
    vertical(150),         // Line7
    vertical(200),         // Line8
    vertical(250, true),   // Line3
    vertical(300),         // Line9
    vertical(350),         // Line10
    vertical(400),         // Line11
    vertical(450),         // Line12
    horizontal(10),        // Line4(8)
    horizontal(50),        // Line2
    horizontal(90),        // Line4(2)
    horizontal(130),       // Line4(3)
    horizontal(170),       // Line4(4)
    horizontal(210, true), // Line4(10)
    horizontal(250),       // Line4(13)
    horizontal(290),       // Line4(0)
    horizontal(330),       // Line4(5)
    horizontal(370),       // Line4(12)
    horizontal(410),       // Line1
}};

// Dots of one logical pixel, in whole device pixels: as visible at any scale as at 1. A
// square cap lengthens each dash by the pen's width, which closes the gaps of a wider pen.
QPen dottedPen(QColor colour, qreal ratio) {
    const qreal width = std::max(1.0, std::round(ratio));
    QPen pen(colour, width, Qt::CustomDashLine, width > 1 ? Qt::FlatCap : Qt::SquareCap);
    pen.setCosmetic(true);
    // Every other pixel: the densest dotting, easiest to see on any background.
    pen.setDashPattern({1, 1});
    return pen;
}

} // namespace

void paintGraticule(QPainter& painter, const QPalette& palette) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QPen gridPen = dottedPen(system_colours::grid(palette), ratio);
    const QPen centrePen = dottedPen(QColor(rgbFromColourWord(kPureRedWord)), ratio);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const GraticuleLine& line : kLines) {
        painter.setPen(line.centre ? centrePen : gridPen);
        painter.drawLine(unitsToPixels(line.x1, line.y1), unitsToPixels(line.x2, line.y2));
    }
    painter.restore();
}

} // namespace vistrace
