#pragma once

#include <cstdint>

namespace vistrace::testing {

// The status reading a real port gives while the converter presents one 4-bit half: the
// converter drives each pin with the complement of its bit, the port reads status bit 7 as
// the complement of its pin, and bits 0 to 3 are whatever the unused lines show.
inline std::int16_t statusShowing(int half, int unusedBits) {
    const int pins = ~half & 0x0F;
    return static_cast<std::int16_t>(((pins ^ 0x08) << 4) | (unusedBits & 0x0F));
}

} // namespace vistrace::testing
