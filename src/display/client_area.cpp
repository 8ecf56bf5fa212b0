#include "client_area.h"

#include "system_colours.h"

#include <QPainter>
#include <array>

namespace vistrace {
namespace {

enum class Colour { WindowText, MenuBar };

struct Rule {
    int x1, y1, x2, y2; // client pixels
    int width;
    Qt::PenStyle style;
    Colour colour;
};

// Painted in this order; the dotted menu-bar lines on the top edge lie on the solid rule.
// Lines that reach past the right edge are clipped there.
constexpr std::array<Rule, 8> kRules{{
    {0, 512, 704, 512, 1, Qt::SolidLine, Colour::WindowText},   // Line16
    {608, 72, 696, 72, 1, Qt::SolidLine, Colour::WindowText},   // Line15
    {608, 184, 696, 184, 1, Qt::SolidLine, Colour::WindowText}, // Line13
    {608, 416, 696, 416, 1, Qt::SolidLine, Colour::WindowText}, // Line14
    {0, 0, 736, 0, 2, Qt::SolidLine, Colour::WindowText},       // Line4(11)
    {0, 0, 736, 0, 1, Qt::DotLine, Colour::MenuBar},            // Line4(6)
    {0, 0, 736, 0, 1, Qt::DotLine, Colour::MenuBar},            // Line4(7)
    {0, 0, 744, 0, 1, Qt::DotLine, Colour::MenuBar},            // Line4(9)
}};

constexpr int kWidth = 709;
constexpr int kHeight = 570;

} // namespace

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    setBackgroundRole(system_colours::kWindowBackground);
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor windowText = palette().color(system_colours::kWindowText);
    const QColor menuBar = system_colours::menuBar(palette());
    for (const Rule& rule : kRules) {
        painter.setPen(QPen(rule.colour == Colour::WindowText ? windowText : menuBar, rule.width,
                            rule.style, Qt::FlatCap));
        painter.drawLine(rule.x1, rule.y1, rule.x2, rule.y2);
    }
}

} // namespace vistrace
