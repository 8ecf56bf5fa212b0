#pragma once

#include <QWidget>

namespace vistrace {

// The window's 709 x 570 client area under the menu bar: the controls' parent, with the
// window's own rules painted on its background.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vistrace
