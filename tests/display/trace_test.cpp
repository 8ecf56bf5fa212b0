#include "errors.h"
#include "test_window.h"
#include "trace.h"

#include <QScrollBar>
#include <gtest/gtest.h>
#include <set>

namespace vistrace::test {
namespace {

class Trace : public ::testing::Test {
protected:
    // The start-up settings: 2mS/Div and 5V/Div.
    void SetUp() override {
        window.state.sample_count = 500;
        window.state.x_step = 1;
        window.state.trace_width = 3;
        window.state.volts_gain = FixedDecimal::fromTenThousandths(3600);
    }

    void fill(int from, int to, std::uint8_t value) {
        for (int i = from; i <= to; ++i) {
            window.state.samples[i] = value;
        }
    }

    QImage draw() {
        window.scope->clear();
        window.drawtrace();
        return window.scope->runtimeLayer();
    }

    // The rows of a column that the trace covers; any pixel not pure blue fails the test.
    static std::set<int> rowsAt(const QImage& layer, int column) {
        std::set<int> rows;
        for (int y = 0; y < layer.height(); ++y) {
            const QRgb pixel = layer.pixel(column, y);
            if (qAlpha(pixel) != 0) {
                EXPECT_EQ(pixel, kPureBlue) << column << "," << y;
                rows.insert(y);
            }
        }
        return rows;
    }

    TestWindow window;
};

TEST_F(Trace, ZeroVoltsLiesOnTheOffsetRowTwoBelowTheCentreLine) {
    fill(1, 500, 128);
    const QImage layer = draw();
    // Pen width 3 centred on row 212; the round-off columns at both ends carry the pen's caps.
    for (int unit = 2; unit < 500; ++unit) {
        ASSERT_EQ(rowsAt(layer, columnOf(unit)), (std::set<int>{211, 212, 213})) << unit;
    }
}

TEST_F(Trace, EmptyBufferLies128TimesGainAboveTheOffset) {
    window.state.trace_width = 1;
    // 212 − 128 × 0.36 = 165.92, shown on row 165, from sample 1 to sample 500.
    const QImage layer = draw();
    EXPECT_EQ(rowsAt(layer, columnOf(250)), std::set<int>{165});
    EXPECT_EQ(rowsAt(layer, columnOf(1)), std::set<int>{165});
    EXPECT_EQ(rowsAt(layer, columnOf(500)), std::set<int>{165});
    EXPECT_TRUE(rowsAt(layer, 0).empty()) << "sample 0 is never drawn";
    EXPECT_TRUE(rowsAt(layer, columnOf(500) + 1).empty());
    window.YOffset->setValue(300); // 253.92
    window.state.volts_gain = FixedDecimal::fromInteger(1);
    window.XOffset->setValue(-100);
    const QImage moved = draw();
    EXPECT_EQ(rowsAt(moved, columnOf(150)), std::set<int>{172});
    EXPECT_TRUE(rowsAt(moved, columnOf(450)).empty()) << "the shift moves the end left";
}

TEST_F(Trace, WiderStepsLeaveGapsBetweenSegments) {
    window.state.trace_width = 1;
    fill(1, 500, 128);
    window.state.x_step = 3;
    window.state.sample_count = 166;
    const QImage third = draw();
    for (int i = 1; i <= 165; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rowsAt(third, columnOf(3 * i)), std::set<int>{212});
        EXPECT_EQ(rowsAt(third, columnOf(3 * i + 1)), std::set<int>{212});
        EXPECT_TRUE(rowsAt(third, columnOf(3 * i + 2)).empty());
    }
    EXPECT_TRUE(rowsAt(third, columnOf(499)).empty()) << "the last segment ends at 496";

    // Step 2: each rise is drawn within one unit, then the trace runs flat across the gap.
    window.state.x_step = 2;
    window.state.sample_count = 250;
    window.state.volts_gain = FixedDecimal::fromInteger(1);
    for (int i = 1; i <= 250; ++i) {
        window.state.samples[i] = i % 2 ? 108 : 148; // rows 192 and 232
    }
    const QImage second = draw();
    for (int i = 1; i < 250; ++i) {
        SCOPED_TRACE(i);
        const int nextRow = (i + 1) % 2 ? 192 : 232;
        EXPECT_TRUE(rowsAt(second, columnOf(2 * i + 1)).count(nextRow));
        if (i + 1 < 250) {
            EXPECT_TRUE(rowsAt(second, columnOf(2 * i + 2)).count(nextRow));
        }
    }
}

TEST_F(Trace, OneSampleOrNoneDrawsNothingButSetsColourAndWidth) {
    fill(1, 500, 0);
    for (const std::int16_t count : {std::int16_t{1}, std::int16_t{0}, std::int16_t{-1}}) {
        window.state.sample_count = count;
        window.state.trace_width = 4;
        window.scope->setForeColor(Qt::green);
        window.scope->setDrawWidth(1);
        EXPECT_TRUE(isBlank(draw())) << count;
        EXPECT_EQ(window.scope->foreColor(), QColor(0, 0, 255));
        EXPECT_EQ(window.scope->drawWidth(), 4);
    }
}

TEST_F(Trace, FollowsTheThumbWhileItIsDragged) {
    fill(1, 500, 128);
    window.state.trace_width = 1;
    window.YOffset->setSliderDown(true);
    window.YOffset->setSliderPosition(100);
    EXPECT_EQ(window.YOffset->value(), 212) << "the change comes only at the release";
    EXPECT_EQ(rowsAt(draw(), columnOf(250)), std::set<int>{100});
}

TEST_F(Trace, FarOffScreenSegmentsShowOnlyWhereTheyCrossTheScreen) {
    window.state.volts_gain = FixedDecimal::fromInteger(13);
    for (int i = 1; i <= 500; ++i) {
        window.state.samples[i] = i % 2 ? 0 : 255; // rows −1452 and 1863
    }
    const QImage layer = draw();
    std::set<int> crossed = rowsAt(layer, columnOf(250));
    crossed.merge(rowsAt(layer, columnOf(250) + 1));
    EXPECT_EQ(crossed.size(), 421u) << "each segment crosses the whole screen";
}

TEST_F(Trace, ArithmeticAndIndicesAreChecked) {
    window.state.sample_count = 801;
    EXPECT_THROW(window.drawtrace(), SubscriptRangeError);
    window.state.sample_count = 200;
    window.state.x_step = 255; // 255 × 129 leaves the 16-bit range
    EXPECT_THROW(window.drawtrace(), OverflowError);
}

} // namespace
} // namespace vistrace::test
