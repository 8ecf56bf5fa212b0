#include "scope_screen.h"

#include "graticule.h"
#include "screen_units.h"
#include "system_colours.h"

namespace vistrace {
namespace {

constexpr int kOuterWidth = 509;
constexpr int kOuterHeight = 425;
constexpr int kBorder = 2;

} // namespace

ScopeScreen::ScopeScreen(QWidget* parent)
    : QFrame(parent), layer_(kOuterWidth - 2 * kBorder, kOuterHeight - 2 * kBorder,
                             QImage::Format_ARGB32_Premultiplied),
      pen_(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFixedSize(kOuterWidth, kOuterHeight);
    setBackgroundRole(system_colours::kScreenBackground);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    layer_.fill(Qt::transparent);
}

ScopeScreen::~ScopeScreen() {
    finishDrawing();
}

void ScopeScreen::clear() {
    finishDrawing();
    layer_.fill(Qt::transparent);
    requestRepaint();
}

void ScopeScreen::setForeColor(QColor colour) {
    pen_.setColor(colour);
    if (painter_.isActive()) {
        painter_.setPen(pen_);
    }
}

void ScopeScreen::setDrawWidth(int pixels) {
    pen_.setWidth(pixels);
    if (painter_.isActive()) {
        painter_.setPen(pen_);
    }
}

void ScopeScreen::line(float x1, float y1, float x2, float y2) {
    if (!painter_.isActive()) {
        painter_.begin(&layer_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(pen_);
    }
    painter_.drawLine(unitsToPixels(x1, y1), unitsToPixels(x2, y2));
    requestRepaint();
}

QImage ScopeScreen::runtimeLayer() {
    finishDrawing();
    return layer_;
}

void ScopeScreen::requestRepaint() {
    // One request per repaint: a sweep draws hundreds of lines between two repaints.
    if (!repaintRequested_) {
        repaintRequested_ = true;
        update();
    }
}

void ScopeScreen::finishDrawing() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

void ScopeScreen::paintEvent(QPaintEvent* /*event*/) {
    repaintRequested_ = false;
    finishDrawing();
    QPainter painter(this);
    drawFrame(&painter);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    painter.drawImage(0, 0, layer_);
    paintGraticule(painter, palette());
}

} // namespace vistrace
