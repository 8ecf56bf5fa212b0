#include "checked.h"
#include "errors.h"
#include "fixed_decimal.h"
#include "sample_buffer.h"
#include "scope_state.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace vistrace {
namespace {

TEST(CheckedTest, NarrowingFailsExactlyOutsideTheTargetRange) {
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_THROW(toInt16(32768), OverflowError);
    EXPECT_THROW(toInt16(-32769), OverflowError);
    EXPECT_THROW(toInt16(std::numeric_limits<std::int64_t>::min()), OverflowError);

    EXPECT_EQ(toByte(0), 0);
    EXPECT_EQ(toByte(255), 255);
    EXPECT_THROW(toByte(-1), OverflowError);
    EXPECT_THROW(toByte(256), OverflowError);
    EXPECT_THROW(toByte(65536), OverflowError);
}

TEST(CheckedTest, CounterDifferenceDetectsOverflow) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(checkedSub(kMax, 1), kMax - 1);
    EXPECT_EQ(checkedSub(-1, kMax), kMin);
    EXPECT_THROW(checkedSub(kMin, 1), OverflowError);
    EXPECT_THROW(checkedSub(kMax, -1), OverflowError);
}

TEST(FixedDecimalTest, GainTimesSampleIsExact) {
    const auto gain = FixedDecimal::fromTenThousandths(3600);
    const FixedDecimal row = gain * -128 + FixedDecimal::fromInteger(212);
    EXPECT_EQ(row.tenThousandths(), 1'659'200);
    EXPECT_EQ(row.toFloat(), 165.92f);

    // Gains whose binary fractions are inexact still multiply exactly.
    EXPECT_EQ((FixedDecimal::fromTenThousandths(38'000) * 127).tenThousandths(), 4'826'000);
    EXPECT_EQ((FixedDecimal::fromTenThousandths(9000) * 3).toDouble(), 2.7);
}

TEST(FixedDecimalTest, OverflowIsAnErrorNotAWrap) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    EXPECT_THROW(FixedDecimal::fromTenThousandths(kMax / 2) * 3, OverflowError);
    EXPECT_THROW(FixedDecimal::fromTenThousandths(kMax) + FixedDecimal::fromTenThousandths(1),
                 OverflowError);
    EXPECT_THROW(FixedDecimal::fromInteger(kMax / FixedDecimal::kScale + 1), OverflowError);
}

TEST(SampleBufferTest, IndicesOutside0To800AreSubscriptErrors) {
    ScopeState state;
    const SampleBuffer& view = state.samples;
    for (int i = 0; i <= 800; ++i) {
        ASSERT_EQ(view[i], 0) << "a new record's buffer is all zero";
    }
    state.samples[800] = 7;
    EXPECT_EQ(view[800], 7);
    for (const int index : {-1, 801, -32768, 32767}) {
        EXPECT_THROW(state.samples[index] = 1, SubscriptRangeError) << index;
        EXPECT_THROW(static_cast<void>(view[index]), SubscriptRangeError) << index;
    }
}

} // namespace
} // namespace vistrace
