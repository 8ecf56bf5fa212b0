#include "test_window.h"

#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <utility>

namespace vistrace::test {
namespace {

// Graticule positions as the layout gives them, in client pixels: columns from the twips
// table (754·k twips), rows at 10 + 40·k, lines 0 to 500 units wide and rows 10 to 410 tall.
constexpr int kColumns[] = {50, 100, 150, 201, 251, 301, 351, 402, 452};
constexpr int kRows[] = {10, 50, 90, 130, 170, 210, 250, 290, 330, 370, 410};
constexpr int kCentreColumn = 251;
constexpr int kCentreRow = 210;
constexpr int kRightEnd = 502;

// Share of a line's pixels shown in the given colour.
double coverage(const QImage& image, QRgb colour, bool vertical, int at, int from, int to) {
    int hits = 0;
    for (int i = from; i <= to; ++i) {
        hits += (vertical ? image.pixel(at, i) : image.pixel(i, at)) == colour ? 1 : 0;
    }
    return static_cast<double>(hits) / (to - from + 1);
}

TEST(Graticule, TwentyDottedLinesExactlyWhereTheLayoutPutsThem) {
    ScopeScreen screen;
    EXPECT_EQ(screen.size(), QSize(509, 425));
    EXPECT_EQ(screen.contentsRect(), QRect(2, 2, 505, 421));
    const QImage shown = shownClient(screen);
    const QRgb background = shown.pixel(1, 1);
    const QRgb grid = shown.pixel(kColumns[0], kRows[0]);
    ASSERT_NE(grid, background);

    std::set<std::pair<int, int>> onLines;
    for (int x : kColumns) {
        const QRgb colour = x == kCentreColumn ? kPureRed : grid;
        const double share = coverage(shown, colour, true, x, kRows[0] + 1, kRows[10] - 1);
        EXPECT_TRUE(share > 0.4 && share < 0.6) << "column " << x << " not dotted: " << share;
        for (int y = kRows[0]; y <= kRows[10]; ++y) {
            onLines.insert({x, y});
        }
    }
    for (int y : kRows) {
        const QRgb colour = y == kCentreRow ? kPureRed : grid;
        const double share = coverage(shown, colour, false, y, 0, kRightEnd);
        EXPECT_TRUE(share > 0.4 && share < 0.6) << "row " << y << " not dotted: " << share;
        for (int x = 0; x <= kRightEnd; ++x) {
            onLines.insert({x, y});
        }
    }
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (!onLines.count({x, y})) {
                ASSERT_EQ(shown.pixel(x, y), background) << "stray pixel at " << x << "," << y;
            }
        }
    }
}

TEST(Graticule, SurvivesAClearAndLiesAboveTheTrace) {
    ScopeScreen screen;
    const QImage empty = shownClient(screen);
    const QRgb grid = empty.pixel(kColumns[1], kRows[0]);

    // A broad band across both centre lines and a grid column.
    screen.setForeColor(QColor(0, 0, 255));
    screen.setDrawWidth(9);
    screen.line(0, 210, 500, 210);
    screen.line(250, 0, 250, 421);
    const QImage drawn = shownClient(screen);
    EXPECT_GT(coverage(drawn, kPureRed, false, kCentreRow, 0, kRightEnd), 0.4);
    EXPECT_GT(coverage(drawn, kPureBlue, false, kCentreRow, 0, kRightEnd), 0.4);
    EXPECT_GT(coverage(drawn, kPureRed, true, kCentreColumn, kRows[0], kRows[10]), 0.4);
    EXPECT_GT(coverage(drawn, grid, true, kColumns[1], kCentreRow - 4, kCentreRow + 4), 0.3);

    screen.clear();
    EXPECT_EQ(shownClient(screen), empty);
    EXPECT_TRUE(isBlank(screen.runtimeLayer()));
}

double luminance(QRgb rgb) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

QPalette lightDesktop() {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

// The usual way applications darken Fusion.
QPalette darkDesktop() {
    QPalette dark = lightDesktop();
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) {
        dark.setColor(role, QColor(53, 53, 53));
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    dark.setColor(QPalette::Base, QColor(25, 25, 25));
    return dark;
}

TEST(Graticule, StandsOutFromTheScreenInLightAndDarkPalettes) {
    for (const QPalette& palette : {lightDesktop(), darkDesktop()}) {
        ScopeScreen screen;
        screen.setPalette(palette);
        const QImage shown = shownClient(screen);
        const double background = luminance(shown.pixel(1, 1));
        const double grid = luminance(shown.pixel(kColumns[0], kRows[0]));
        // The contrast ratio asked of graphics that carry meaning.
        EXPECT_GE((std::max(background, grid) + 0.05) / (std::min(background, grid) + 0.05), 3.0)
            << "on " << qPrintable(palette.color(QPalette::Base).name());
    }
}

} // namespace
} // namespace vistrace::test
