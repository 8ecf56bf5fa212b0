#include "control_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <map>
#include <set>
#include <utility>

namespace vistrace::testing {
namespace {

using Window = ControlTest;

// In the running loop the focus is on Stop, so arrow keys change no port; the wheel turns a
// list only when it has the focus; and typing into a trigger selector never selects an item,
// as Enter or leaving the field puts the selected one back.
TEST_F(Window, KeysTypingAndTheWheelReachOnlyTheControlMeantForThem) {
    window->load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    post(window.get(), [this] {
        EXPECT_TRUE(window->Command2->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        window->Command2->click();
    });
    QTest::mouseClick(window->Command4, Qt::LeftButton); // returns when the loop has ended
    EXPECT_EQ(window->state.port_address, 888);
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

QImage shownClient(ScopeScreen& screen) {
    return screen.grab()
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(screen.contentsRect());
}

// The red centre lines cross at (251, 210); the grid lies above whatever is drawn, dotted,
// through a clear, and stays visible on a dark palette.
TEST(Graticule, DottedLinesAboveTheDrawingThroughAClearInLightAndDarkPalettes) {
    // Qt derives a whole palette from its button colour; this one is dark.
    for (const QPalette& palette : {QApplication::palette(), QPalette(QColor(53, 53, 53))}) {
        ScopeScreen screen;
        screen.setPalette(palette);
        screen.setForeColor(Qt::blue);
        screen.setDrawWidth(9);
        screen.line(0, 210, 500, 210);
        const QImage drawn = shownClient(screen);
        screen.clear();
        const QImage shown = shownClient(screen);
        const QRgb background = shown.pixel(1, 1);
        EXPECT_GE(std::abs(qGray(shown.pixel(50, 10)) - qGray(background)), 85) << "faint grid";
        EXPECT_EQ(drawn.pixel(1, 209), qRgb(0, 0, 255));
        int red = 0;
        for (int x = 0; x <= 502; ++x) {
            red += static_cast<int>(drawn.pixel(x, 210) == qRgb(255, 0, 0));
            ASSERT_EQ(shown.pixel(x, 210) == background, drawn.pixel(x, 210) == qRgb(0, 0, 255));
        }
        EXPECT_NEAR(red, 251, 25) << "every other pixel of the centre line, over the trace";
    }
}

// Draws the window's samples afresh at gain 1 with a thin pen; gives the rows drawn in each
// pixel column.
std::map<int, std::set<int>> draw(ScopeWindow& window, int count, int step) {
    window.state.sample_count = static_cast<std::int16_t>(count);
    window.state.x_step = static_cast<std::uint8_t>(step);
    window.state.volts_gain = FixedDecimal::fromTenThousandths(10000);
    window.state.trace_width = 1;
    window.scope->clear();
    window.drawtrace();
    const QImage layer = window.scope->runtimeLayer();
    std::map<int, std::set<int>> rows;
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(layer.pixel(x, y)) != 0) {
                rows[x].insert(y);
            }
        }
    }
    return rows;
}

// Samples 108 and 148 lie 20 rows either side of the offset row 212. Each segment runs one unit
// from its sample's column, so wider steps leave gaps; nothing lies past unit 500, and fewer
// than two samples draw nothing.
TEST_F(Window, SegmentsRunOneUnitFromTheirSamplesColumnOnTheirRows) {
    for (int i = 1; i <= 500; ++i) {
        window->state.samples[i] = i % 2 != 0 ? 108 : 148;
    }
    const auto rowOf = [](int sample) { return sample % 2 != 0 ? 192 : 232; };
    for (auto [step, count] : {std::pair{1, 500}, std::pair{2, 249}, std::pair{3, 166}}) {
        auto drawn = draw(*window, count, step);
        for (int i = 1; i < count; ++i) {
            ASSERT_TRUE(drawn[columnOf(step * i)].contains(rowOf(i))) << step << ", " << i;
            ASSERT_TRUE(drawn[columnOf(step * i + 1)].contains(rowOf(i + 1)));
            ASSERT_TRUE(step != 3 || drawn[columnOf(step * i + 2)].empty());
        }
        EXPECT_TRUE(drawn[504].empty()) << "drawn past unit 500";
    }
    for (const int count : {1, 0, -1}) {
        EXPECT_TRUE(draw(*window, count, 1).empty()) << "sample_count " << count;
    }
}

} // namespace
} // namespace vistrace::testing
