#pragma once

#include "errors.h"

#include <cstdint>
#include <limits>

namespace vistrace {

// Integer arithmetic of the instrument is 16-bit signed or byte wide and must not wrap:
// compute in 64 bits, then narrow through one of these.

inline std::int16_t toInt16(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int16_t>(value);
}

inline std::uint8_t toByte(std::int64_t value) {
    if (value < 0 || value > std::numeric_limits<std::uint8_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::uint8_t>(value);
}

inline std::int64_t checkedSub(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    if (__builtin_sub_overflow(a, b, &result)) {
        throw OverflowError();
    }
    return result;
}

} // namespace vistrace
