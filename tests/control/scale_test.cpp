#include "appearance.h"
#include "control_fixture.h"
#include "screen_units.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>
#include <QWheelEvent>

// Run once per scale factor (QT_SCALE_FACTOR), with the program's style and fonts.
namespace vistrace::testing {
namespace {

class Scale : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

// With margin pixels to spare on either side.
void expectFits(const QWidget& control, const QString& text, QRect room, int margin = 0) {
    const QFontMetrics metrics = control.fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(text) + 2 * margin, room.width()) << text.toStdString();
    EXPECT_LE(metrics.height(), room.height()) << text.toStdString();
}

TEST_F(Scale, EveryCaptionAndItemShowsWhole) {
    EXPECT_EQ(QFontInfo(window->Label2->font()).family(), "Liberation Sans");
    window->Port_Address_Box->addItem(QStringLiteral("DC00"));    // as on a PCI Express card
    for (const QLabel* label : window->findChildren<QLabel*>()) { // as far as it shows
        expectFits(*label, label->text(),
                   label->contentsRect() & label->visibleRegion().boundingRect());
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        expectFits(*button, button->text(),
                   button->style()->subElementRect(QStyle::SE_PushButtonContents, &option));
    }
    for (QComboBox* box : window->centralWidget()->findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i) {
            expectFits(*box, box->itemText(i), field, 2); // a field's text stands 2 px in
        }
    }
}

TEST_F(Scale, KeysAndWheelReachOnlyTheControlMeantForThem) {
    post(window.get(), [this] { // in the running loop
        EXPECT_TRUE(window->Command2->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        window->Command2->click();
    });
    QTest::mouseClick(window->Command4, Qt::LeftButton); // returns when the loop has ended
    EXPECT_EQ(window->state.port_address, 888);
    for (QComboBox* box : window->centralWidget()->findChildren<QComboBox*>()) {
        const int before = box->currentIndex();
        for (const int focused : {0, 1}) {
            if (focused != 0) {
                box->setFocus();
            }
            QWheelEvent turn({5, 5}, box->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &turn);
            EXPECT_EQ(box->currentIndex(), before + focused) << box->objectName().toStdString();
        }
    }
}

// Start-up's flat sweep of zeros lies at row 212 - 128 x 0.36 = 165.92; the pen covers the
// device rows whose centres lie within round(3 x ratio) device pixels around it.
TEST_F(Scale, TraceIsSharpAndWhereTheUnitsSay) {
    const qreal ratio = window->devicePixelRatioF();
    const double pen = std::round(3 * ratio);
    const int top = static_cast<int>(std::ceil(165.92 * ratio - pen / 2 - 0.5));
    window->drawtrace();
    const QImage layer = window->scope->runtimeLayer();
    for (int x = static_cast<int>(std::ceil(kPixelsPerHorizontalUnit * ratio + pen / 2));
         x < 500 * kPixelsPerHorizontalUnit * ratio - pen / 2; ++x) {
        for (int y = 0; y < layer.height(); ++y) {
            ASSERT_EQ(layer.pixel(x, y) == qRgb(0, 0, 255), y >= top && y < top + pen)
                << x << ',' << y;
        }
    }
    const QImage shown = window->scope->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int column = static_cast<int>((2 + 260 * kPixelsPerHorizontalUnit) * ratio);
    int blue = 0;
    for (int y = 0; y < shown.height(); ++y) {
        const QRgb pixel = shown.pixel(column, y);
        blue += static_cast<int>(pixel == qRgb(0, 0, 255));
        EXPECT_TRUE(pixel == qRgb(0, 0, 255) || qBlue(pixel) <= qRed(pixel) + 16)
            << "blended " << y;
    }
    EXPECT_EQ(blue, pen);
}

} // namespace
} // namespace vistrace::testing

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vistrace::pinAppearance();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
