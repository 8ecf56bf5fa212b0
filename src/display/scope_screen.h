#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointer>

class QWindow;

namespace vistrace {

// The instrument's screen: a sunken 509 x 425 frame whose 505 x 421 client area is drawn in
// screen units (one vertical unit per pixel, one horizontal unit 15.08096/15 px). Run-time
// drawing is kept in an image at the window's device pixel ratio, so that it is as sharp as
// the screen allows; the graticule is painted above it and is never cleared.
class ScopeScreen : public QFrame {
    Q_OBJECT

public:
    explicit ScopeScreen(QWidget* parent = nullptr);
    ~ScopeScreen() override;
    ScopeScreen(const ScopeScreen&) = delete;
    ScopeScreen& operator=(const ScopeScreen&) = delete;

    // Erases the run-time drawing; the graticule stays.
    void clear();
    void setForeColor(QColor colour);
    // Pen width in true pixels: at a device pixel ratio above 1, as many device pixels as
    // that many pixels cover, rounded, so that both edges of the trace lie on pixel edges.
    void setDrawWidth(int pixels);
    // A straight line between two points in screen units, clipped to the client area.
    void line(float x1, float y1, float x2, float y2);

    // The run-time drawing as it stands, client-sized in device pixels.
    QImage runtimeLayer();

    [[nodiscard]] QColor foreColor() const { return pen_.color(); }
    [[nodiscard]] int drawWidth() const { return drawWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Drawing keeps one painter open on the image from the first line after a clear until
    // the image is next read or shown: opening a painter costs more than a whole segment.
    void finishDrawing();
    void requestRepaint();
    // Reallocates the drawing when the device pixel ratio has changed, keeping what it shows.
    void matchScreen();

    QImage layer_;
    QPainter painter_;
    QPen pen_;
    int drawWidth_ = 1;
    // Qt 6.4 tells of no change of ratio, only of the window's move to another screen.
    QPointer<QWindow> watchedWindow_;
    bool repaintRequested_ = false;
};

} // namespace vistrace
