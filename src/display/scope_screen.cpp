#include "scope_screen.h"

#include "graticule.h"
#include "screen_units.h"
#include "system_colours.h"

#include <QScreen>
#include <QWindow>
#include <cmath>

namespace vistrace {
namespace {

constexpr int kOuterWidth = 509;
constexpr int kOuterHeight = 425;
constexpr int kBorder = 2;
constexpr QSize kClientSize(kOuterWidth - 2 * kBorder, kOuterHeight - 2 * kBorder);

QImage blankLayer(qreal ratio) {
    const QSize size(static_cast<int>(std::ceil(kClientSize.width() * ratio)),
                     static_cast<int>(std::ceil(kClientSize.height() * ratio)));
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    return layer;
}

} // namespace

ScopeScreen::ScopeScreen(QWidget* parent)
    : QFrame(parent), layer_(blankLayer(devicePixelRatioF())),
      pen_(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFixedSize(kOuterWidth, kOuterHeight);
    setBackgroundRole(system_colours::kScreenBackground);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
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
    drawWidth_ = pixels;
    const qreal ratio = layer_.devicePixelRatio();
    pen_.setWidthF(std::round(pixels * ratio) / ratio);
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

void ScopeScreen::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    QWindow* shownIn = window()->windowHandle();
    if (shownIn != nullptr && shownIn != watchedWindow_) {
        watchedWindow_ = shownIn;
        connect(shownIn, &QWindow::screenChanged, this, &ScopeScreen::matchScreen);
    }
    matchScreen();
}

void ScopeScreen::matchScreen() {
    const qreal ratio = devicePixelRatioF();
    if (qFuzzyCompare(ratio, layer_.devicePixelRatio())) {
        return;
    }
    finishDrawing();
    QImage layer = blankLayer(ratio);
    QPainter(&layer).drawImage(QRectF(QPointF(0, 0), kClientSize), layer_);
    layer_ = layer;
    setDrawWidth(drawWidth_);
    requestRepaint();
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
