#pragma once

#include "errors.h"

#include <compare>
#include <cstdint>

namespace vistrace {

// A decimal with four places, held as a count of ten-thousandths, so that gains such as
// 0.36 and 3.8 and every product with a sample are exact.
class FixedDecimal {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr FixedDecimal() = default;

    static constexpr FixedDecimal fromTenThousandths(std::int64_t units) {
        return FixedDecimal(units);
    }
    static FixedDecimal fromInteger(std::int64_t value) { return FixedDecimal(mul(value, kScale)); }

    [[nodiscard]] constexpr std::int64_t tenThousandths() const { return units_; }

    FixedDecimal operator+(FixedDecimal other) const {
        std::int64_t sum = 0;
        if (__builtin_add_overflow(units_, other.units_, &sum)) {
            throw OverflowError();
        }
        return FixedDecimal(sum);
    }
    FixedDecimal operator*(std::int64_t factor) const { return FixedDecimal(mul(units_, factor)); }

    // Nearest single-precision value; the drawing layer takes floats.
    [[nodiscard]] float toFloat() const {
        return static_cast<float>(static_cast<long double>(units_) /
                                  static_cast<long double>(kScale));
    }

    constexpr auto operator<=>(const FixedDecimal&) const = default;

private:
    constexpr explicit FixedDecimal(std::int64_t units) : units_(units) {}

    static std::int64_t mul(std::int64_t a, std::int64_t b) {
        std::int64_t product = 0;
        if (__builtin_mul_overflow(a, b, &product)) {
            throw OverflowError();
        }
        return product;
    }

    std::int64_t units_ = 0;
};

} // namespace vistrace
