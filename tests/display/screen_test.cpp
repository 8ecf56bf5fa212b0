#include "test_window.h"

#include <QStyle>
#include <QStyleFactory>
#include <cmath>
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

using Pixel = std::pair<int, int>;

std::set<Pixel> graticulePixels() {
    std::set<Pixel> pixels;
    for (int x : kColumns) {
        for (int y = kRows[0]; y <= kRows[10]; ++y) {
            pixels.insert({x, y});
        }
    }
    for (int y : kRows) {
        for (int x = 0; x <= kRightEnd; ++x) {
            pixels.insert({x, y});
        }
    }
    return pixels;
}

// Share of a line's pixels shown in the given colour.
double coverage(const QImage& image, QRgb colour, bool vertical, int at, int from, int to) {
    int hits = 0;
    for (int i = from; i <= to; ++i) {
        hits += (vertical ? image.pixel(at, i) : image.pixel(i, at)) == colour ? 1 : 0;
    }
    return static_cast<double>(hits) / (to - from + 1);
}

double luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Graticule, TwentyDottedLinesExactlyWhereTheLayoutPutsThem) {
    ScopeScreen screen;
    EXPECT_EQ(screen.size(), QSize(509, 425));
    EXPECT_EQ(screen.contentsRect(), QRect(2, 2, 505, 421));
    const QImage shown = shownClient(screen);
    const QRgb background = shown.pixel(1, 1);
    const QRgb grid = shown.pixel(kColumns[0], kRows[1] + 1) != background
                          ? shown.pixel(kColumns[0], kRows[1] + 1)
                          : shown.pixel(kColumns[0], kRows[1] + 2);
    ASSERT_NE(grid, background);
    ASSERT_NE(grid, kPureRed);

    const std::set<Pixel> onLines = graticulePixels();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (!onLines.count({x, y})) {
                ASSERT_EQ(shown.pixel(x, y), background) << "stray pixel at " << x << "," << y;
            }
        }
    }
    for (int x : kColumns) {
        const QRgb colour = x == kCentreColumn ? kPureRed : grid;
        const double share = coverage(shown, colour, true, x, kRows[0] + 1, kRows[10] - 1);
        EXPECT_GT(share, 0.4) << "column " << x;
        EXPECT_LT(share, 0.6) << "column " << x << " is not dotted";
    }
    for (int y : kRows) {
        const QRgb colour = y == kCentreRow ? kPureRed : grid;
        const double share = coverage(shown, colour, false, y, 0, kRightEnd);
        EXPECT_GT(share, 0.4) << "row " << y;
        EXPECT_LT(share, 0.6) << "row " << y << " is not dotted";
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
    EXPECT_EQ(drawn.pixel(kCentreColumn + 1, kCentreRow + 1), kPureBlue);

    screen.clear();
    EXPECT_EQ(shownClient(screen), empty);
    const QImage layer = screen.runtimeLayer();
    EXPECT_EQ(layer.size(), QSize(505, 421));
    EXPECT_TRUE(isBlank(layer));
}

QPalette lightDesktop() {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

// The usual way applications darken Fusion.
QPalette darkDesktop() {
    QPalette dark = lightDesktop();
    const QColor panel(53, 53, 53);
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) {
        dark.setColor(role, panel);
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    dark.setColor(QPalette::Base, QColor(25, 25, 25));
    return dark;
}

QPalette darkFromOneColour() {
    return QPalette(QColor(53, 53, 53));
}

struct DesktopPalette {
    const char* name;
    QPalette (*make)();
};

class GridVisibility : public ::testing::TestWithParam<DesktopPalette> {};

TEST_P(GridVisibility, DottedGridStandsOutFromTheScreen) {
    ScopeScreen screen;
    screen.setPalette(GetParam().make());
    const QImage shown = shownClient(screen);
    const QRgb background = shown.pixel(1, 1);
    EXPECT_EQ(background, screen.palette().color(QPalette::Base).rgb());
    QRgb grid = background;
    for (int y = kRows[0] + 1; y < kRows[1] && grid == background; ++y) {
        grid = shown.pixel(kColumns[0], y);
    }
    // The contrast asked of graphics that carry meaning.
    EXPECT_GE(contrast(grid, background), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Palettes, GridVisibility,
                         ::testing::Values(DesktopPalette{"FusionLight", &lightDesktop},
                                           DesktopPalette{"FusionDark", &darkDesktop},
                                           DesktopPalette{"DerivedDark", &darkFromOneColour}),
                         [](const auto& instance) { return std::string(instance.param.name); });

} // namespace
} // namespace vistrace::test
