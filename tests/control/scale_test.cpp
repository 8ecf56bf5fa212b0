#include "appearance.h"
#include "control_fixture.h"
#include "screen_units.h"

#include <QComboBox>
#include <QStyleOption>
#include <QTest>

// Run once per scale factor (QT_SCALE_FACTOR), with the program's style and fonts.
namespace vistrace::testing {
namespace {

using Scale = ControlTest;

void expectFits(const QWidget& control, const QString& text, QRect room) {
    EXPECT_LE(control.fontMetrics().horizontalAdvance(text), room.width()) << text.toStdString();
    EXPECT_LE(control.fontMetrics().height(), room.height()) << text.toStdString();
}

// Start-up's flat sweep of zeros lies at row 212 - 128 x 0.36 = 165.92; the pen covers the
// device rows whose centres lie within round(3 x ratio) device pixels around it, pure blue.
TEST_F(Scale, EveryCaptionAndItemShowsWholeAndTheTraceIsSharpWhereTheUnitsSay) {
    pinAppearance();
    SetUp(); // a window in the program's style and fonts
    window->load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Port_Address_Box->addItem(QStringLiteral("DC00"));        // as on a PCI Express card
    for (const QWidget* control : window->findChildren<QWidget*>()) { // as far as it shows
        if (const QString text = control->property("text").toString(); !text.isEmpty()) {
            expectFits(*control, text,
                       control->contentsRect() & control->visibleRegion().boundingRect());
        }
    }
    for (const QComboBox* box : window->centralWidget()->findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i) { // a field's text stands 2 px in
            expectFits(*box, box->itemText(i), field.adjusted(2, 0, -2, 0));
        }
    }
    const qreal ratio = window->devicePixelRatioF();
    const double pen = std::round(3 * ratio);
    const int top = static_cast<int>(std::ceil(165.92 * ratio - pen / 2 - 0.5));
    window->drawtrace();
    const QImage layer = window->scope->runtimeLayer();
    for (int x = static_cast<int>(std::ceil(kPixelsPerHorizontalUnit * ratio + pen / 2));
         x < 500 * kPixelsPerHorizontalUnit * ratio - pen / 2; ++x) {
        for (int y = 0; y < layer.height(); ++y) {
            ASSERT_EQ(layer.pixel(x, y), y >= top && y < top + pen ? qRgb(0, 0, 255) : 0U) << x;
        }
    }
}

} // namespace
} // namespace vistrace::testing
