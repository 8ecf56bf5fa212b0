#include "control_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <map>
#include <set>
#include <utility>

namespace vistrace::testing {
namespace {

using Window = ControlTest;

// The controls in tab order (labels, which Tab passes over, left out) and their places: x, y,
// width, height in client pixels (twips / 15).
const QStringList kTabOrder = QStringLiteral("scope YOffset Command4 Port_Address_Box TimeBase_box "
                                             "VoltPerDiv_Box XOffset Command1 trigger_mode_box "
                                             "trigger_slop_box trigger_voltage_box Command2")
                                  .split(' ');
const std::array<int, 48> kPlaces{88,  48,  509, 425, 72,  48,  14,  425, 536, 528, 73, 33,
                                  624, 120, 49,  21,  160, 16,  105, 21,  368, 16,  97, 21,
                                  88,  471, 508, 14,  424, 528, 89,  33,  608, 232, 81, 21,
                                  608, 296, 73,  21,  608, 360, 65,  21,  632, 528, 49, 33};

// Typing into a trigger selector never selects an item, and Enter or leaving the field puts
// the selected item back.
TEST_F(Window, EveryControlHasItsPlaceAndTabStopAndTypingNeverSelects) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(window->centralWidget()->geometry(), QRect(0, window->menuBar()->height(), 709, 570));
    window->scope->setFocus();
    for (qsizetype i = 0; i < kTabOrder.size(); ++i) {
        const std::string name = kTabOrder[i].toStdString();
        auto* control = window->centralWidget()->findChild<QWidget*>(kTabOrder[i]);
        ASSERT_NE(control, nullptr) << name;
        const int* place = &kPlaces.at(static_cast<std::size_t>(4 * i));
        EXPECT_EQ(control->geometry(), QRect(place[0], place[1], place[2], place[3])) << name;
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == control || control->isAncestorOf(focus)) << name;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    for (QComboBox* box :
         {window->trigger_mode_box, window->trigger_slop_box, window->trigger_voltage_box}) {
        box->addItems({"None", "Repeat", "Single"});
        box->setCurrentIndex(0);
        for (const bool byEnter : {true, false}) { // the field shows the selected item again
            box->setFocus();
            box->clearEditText();
            QTest::keyClicks(box, QStringLiteral("Repeat"));
            EXPECT_EQ(box->currentText(), QStringLiteral("Repeat")) << "the typing went elsewhere";
            byEnter ? QTest::keyClick(box, Qt::Key_Return) : window->scope->setFocus();
            EXPECT_EQ(box->currentText(), QStringLiteral("None")) << byEnter;
        }
    }
}

// The graticule in client pixels: columns at 754·k twips from row 10 to 410, rows at 10 + 40·k
// from column 0 to 502; the centre lines are column 251 and row 210.
const std::set<int> kColumns{50, 100, 150, 201, 251, 301, 351, 402, 452};
const std::set<int> kRows{10, 50, 90, 130, 170, 210, 250, 290, 330, 370, 410};

QImage shownClient(ScopeScreen& screen) {
    return screen.grab()
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(screen.contentsRect());
}

TEST(Graticule, TwentyDottedLinesAboveTheDrawingThroughAClearInLightAndDarkPalettes) {
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
        const QRgb grid = shown.pixel(50, 10);
        EXPECT_GE(std::abs(qGray(grid) - qGray(background)), 85) << "a grid hard to see";
        EXPECT_EQ(drawn.pixel(1, 209), qRgb(0, 0, 255));
        std::map<int, int> dots; // per column (x) and per row (1000 + y)
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = shown.pixel(x, y);
                const bool onColumn = kColumns.contains(x) && y >= 10 && y <= 410;
                const bool onRow = kRows.contains(y) && x <= 502;
                ASSERT_TRUE(pixel == background || onColumn || onRow) << "stray " << x << "," << y;
                ASSERT_TRUE(pixel == background || pixel == drawn.pixel(x, y)) << x << "," << y;
                dots[x] +=
                    static_cast<int>(onColumn && pixel == (x == 251 ? qRgb(255, 0, 0) : grid));
                dots[1000 + y] +=
                    static_cast<int>(onRow && pixel == (y == 210 ? qRgb(255, 0, 0) : grid));
            }
        }
        // Dotted: every other pixel of a line, give or take its crossings.
        for (const int x : kColumns) {
            EXPECT_NEAR(dots[x], 200, 20) << "column " << x;
        }
        for (const int y : kRows) {
            EXPECT_NEAR(dots[1000 + y], 251, 25) << "row " << y;
        }
    }
}

// The pixel column of a horizontal screen unit: 15.08096 twips a unit at 15 twips a pixel.
int columnOf(int unit) {
    return static_cast<int>(unit * 15.08096 / 15.0);
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
