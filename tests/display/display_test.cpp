#include "control_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace vistrace::testing {
namespace {

using Window = ControlTest;

// In the loop the focus is on Stop, so arrow keys change no port, even with another window active;
// the wheel turns only a focused list; typing into a trigger selector never selects an item.
TEST_F(Window, KeysTypingAndTheWheelReachOnlyTheControlMeantForThem) {
    window->load();
    window->show();
    QWidget elsewhere; // active first, then the window itself
    for (QWidget* active : std::initializer_list<QWidget*>{&elsewhere, window.get()}) {
        active->show();
        active->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(active));
        QTimer::singleShot(0, window.get(), [this] { // in the running loop
            EXPECT_EQ(window->focusWidget(), window->Command2);
            QTest::keyClick(window->focusWidget(), Qt::Key_Down);
            QTest::keyClick(window->focusWidget(), Qt::Key_Down);
            window->Command2->click();
        });
        QTest::mouseClick(window->Command4, Qt::LeftButton); // returns when the loop has ended
        EXPECT_EQ(window->state.port_address, 888);
    }
    for (QComboBox* box : window->centralWidget()->findChildren<QComboBox*>()) {
        const int before = box->currentIndex();
        QWheelEvent down({5, 5}, {}, {}, {0, -120}, {}, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &down); // not focused: nothing
        box->setFocus();
        QApplication::sendEvent(box, &down);
        EXPECT_EQ(box->currentIndex(), before + 1) << box->objectName().toStdString();
    }
    for (QComboBox* box :
         {window->trigger_mode_box, window->trigger_slop_box, window->trigger_voltage_box}) {
        const QString selected = box->currentText();
        for (const bool byEnter : {true, false}) {
            box->setFocus();
            box->clearEditText();
            QTest::keyClicks(box, QStringLiteral("Single"));
            EXPECT_EQ(box->currentText(), QStringLiteral("Single")) << "the typing went elsewhere";
            byEnter ? QTest::keyClick(box, Qt::Key_Return) : window->scope->setFocus();
            EXPECT_EQ(box->currentText(), selected) << byEnter;
        }
    }
}

// The red centre lines, a pixel wide, cross at (251, 210); the dotted grid lies above the drawing,
// through a clear, and shows on a dark palette (Qt derives one from the button colour).
TEST(Graticule, DottedLinesAboveTheDrawingThroughAClearInLightAndDarkPalettes) {
    const auto client = [](ScopeScreen& screen) {
        return screen.grab(screen.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (const QPalette& palette : {QApplication::palette(), QPalette(QColor(53, 53, 53))}) {
        ScopeScreen screen;
        screen.setPalette(palette);
        screen.setForeColor(Qt::blue);
        screen.setDrawWidth(9);
        screen.line(0, 210, 500, 210);
        const QImage drawn = client(screen);
        screen.clear();
        const QImage shown = client(screen);
        const QRgb background = shown.pixel(1, 1);
        EXPECT_GE(std::abs(qGray(shown.pixel(50, 10)) - qGray(background)), 85) << "faint grid";
        EXPECT_EQ(drawn.pixel(1, 209), qRgb(0, 0, 255));
        int red = 0;
        for (int x = 0; x <= 502; ++x) {
            red += static_cast<int>(drawn.pixel(x, 210) == qRgb(255, 0, 0));
            ASSERT_EQ(shown.pixel(x, 210) == background, drawn.pixel(x, 210) == qRgb(0, 0, 255));
        }
        EXPECT_NEAR(red, 251, 25) << "every other pixel of the centre line, over the trace";
        const auto redIn = [&drawn](int x) {
            int count = 0;
            for (int y = 0; y < drawn.height(); ++y) {
                count += static_cast<int>(drawn.pixel(x, y) == qRgb(255, 0, 0));
            }
            return count;
        };
        EXPECT_NEAR(redIn(251), 200, 20) << "every other pixel of the vertical centre line";
        EXPECT_LE(redIn(250) + redIn(252), 2) << "besides the horizontal one's dots";
    }
}

// Samples 108 and 148 lie 20 rows either side of row 212 at gain 1. Each segment runs one unit
// from its sample's column, so wider steps leave gaps; none passes unit 500 or has one sample.
TEST_F(Window, SegmentsRunOneUnitFromTheirSamplesColumnOnTheirRows) {
    for (int i = 1; i <= 500; ++i) {
        window->state.samples[i] = i % 2 != 0 ? 108 : 148;
    }
    window->state.volts_gain = FixedDecimal::fromTenThousandths(10000);
    window->state.trace_width = 1;
    const auto rowOf = [](int sample) { return sample % 2 != 0 ? 192 : 232; };
    const auto columnDrawn = [this](int x) {
        const QImage layer = window->scope->runtimeLayer();
        QImage blank(1, layer.height(), layer.format());
        blank.fill(Qt::transparent);
        return layer.copy(x, 0, 1, layer.height()) != blank;
    };
    for (auto [step, count] : {std::pair{1, 500}, {2, 249}, {3, 166}, {1, 1}, {1, 0}, {1, -1}}) {
        window->state.sample_count = static_cast<std::int16_t>(count);
        window->state.x_step = static_cast<std::uint8_t>(step);
        window->scope->clear();
        window->drawtrace();
        for (int i = 1; i < count; ++i) {
            ASSERT_TRUE(blueAt(columnOf(step * i), rowOf(i))) << step << ", " << i;
            ASSERT_TRUE(blueAt(columnOf(step * i + 1), rowOf(i + 1)));
            ASSERT_TRUE(step != 3 || !columnDrawn(columnOf(step * i + 2)));
        }
        EXPECT_FALSE(columnDrawn(504)) << "drawn past unit 500";
        EXPECT_TRUE(count >= 2 || bluePixels() == 0) << "sample_count " << count;
    }
}

using Offsets = ControlTest;

// Drag steps, their release and trough clicks redraw the stored sweep as it is then; none captures.
TEST_F(Offsets, DragsAndPagesRedrawTheStoredSweepAtTheNewPlace) {
    window->load();
    window->YOffset->setSliderDown(true);
    for (const int row : {100, 150, 380}) {
        window->YOffset->setSliderPosition(row);
        EXPECT_TRUE(blueAt(250, row - 47)) << row; // zeros, 128 x 0.36 rows above the bar's row
    }
    for (int i = 0; i <= 800; ++i) {
        window->state.samples[i] = 128;
    }
    window->YOffset->setSliderDown(false);
    EXPECT_TRUE(blueAt(250, 380));
    window->YOffset->triggerAction(QScrollBar::SliderPageStepSub);
    EXPECT_TRUE(blueAt(columnOf(50), 330) && !blueAt(columnOf(50), 380)) << "cleared first";
    window->XOffset->setSliderDown(true);
    window->XOffset->setSliderPosition(-200); // units -199 to 300
    EXPECT_TRUE(blueAt(columnOf(290), 330) && !blueAt(columnOf(310), 330));
    window->XOffset->setSliderDown(false);
    window->XOffset->triggerAction(QScrollBar::SliderPageStepAdd); // to 400
    EXPECT_TRUE(blueAt(columnOf(390), 330) && !blueAt(columnOf(410), 330));
    EXPECT_EQ(port.accesses.size(), 1U);
}

// The reset recentres both bars and captures (counted by the loop and time-base tests); a redraw
// at a new time base draws its sample_count from the buffer: 250 captured, 250 never written.
TEST_F(Offsets, ResetRecentresAndCapturesThenARedrawDrawsTheNewCountFromTheOldBuffer) {
    window->load();
    port.standing = 128;
    window->XOffset->setValue(40);
    window->YOffset->setValue(100);
    window->TimeBase_box->setCurrentIndex(1); // "1mS/Div": 250 samples
    window->Command1->click();
    EXPECT_EQ(window->XOffset->value(), 0);
    window->TimeBase_box->setCurrentIndex(2); // "2mS/Div": 500 samples
    window->XOffset->setValue(1);
    EXPECT_TRUE(blueAt(columnOf(100), 212)) << "the reset's capture, recentred";
    EXPECT_TRUE(blueAt(columnOf(400), 165) && !blueAt(columnOf(400), 212)) << "never written";
}

} // namespace
} // namespace vistrace::testing
