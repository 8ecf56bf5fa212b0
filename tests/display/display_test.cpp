#include "control_fixture.h"
#include "instrument_tables.h"
#include "screen_picture.h"
#include "sweep_picture_file.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

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

// vistrace-capture's picture is the window's screen, pixel for pixel, for the same sweep: at
// each step and sensitivity, and through its PNG file.
TEST_F(Window, ThePictureOfASweepIsTheWindowsScreen) {
    window->load();
    std::vector<std::uint8_t> sine;
    sine.reserve(4000);
    for (int i = 0; i < 4000; ++i) {
        sine.push_back(static_cast<std::uint8_t>(128 + std::lround(60 * std::sin(i / 9.0))));
    }
    port.queueSamples(sine);
    const auto grabbed = [](QWidget& screen) {
        return screen.grab(screen.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (const auto& [timeBase, gain] : {std::pair{1, 0}, {0, 3}, {4, 5}}) {
        window->TimeBase_box->setCurrentIndex(timeBase);
        window->VoltPerDiv_Box->setCurrentIndex(gain);
        window->Command1_Click();
        const QImage picture = screenPicture(window->state, kRestXOffset, kRestYOffset);
        EXPECT_EQ(picture.size(), QSize(505, 421));
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), grabbed(*window->scope));
        EXPECT_GT(bluePixels(), 300) << timeBase;
    }
    const std::string file = std::filesystem::temp_directory_path() / "vistrace-picture-test.png";
    writeSweepPicture(file, window->state);
    EXPECT_EQ(QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32),
              grabbed(*window->scope));
    std::filesystem::remove(file);
}

} // namespace
} // namespace vistrace::testing
