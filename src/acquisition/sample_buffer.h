#pragma once

#include "errors.h"

#include <array>
#include <cstdint>

namespace vistrace {

// 801 bytes with indices 0 to 800; every access is range-tested, as the capture and the
// drawing rely on an out-of-range index failing instead of touching memory.
class SampleBuffer {
public:
    static constexpr int kLastIndex = 800;

    std::uint8_t& operator[](int index) { return bytes_[checked(index)]; }
    std::uint8_t operator[](int index) const { return bytes_[checked(index)]; }

    bool operator==(const SampleBuffer&) const = default;

private:
    static std::size_t checked(int index) {
        if (index < 0 || index > kLastIndex) {
            throw SubscriptRangeError();
        }
        return static_cast<std::size_t>(index);
    }

    std::array<std::uint8_t, kLastIndex + 1> bytes_{};
};

} // namespace vistrace
