#pragma once

#include "errors.h"

#include <array>
#include <cstdint>

namespace vistrace {

// 801 elements with indices 0 to 800; every access is range-tested, as the capture and the
// drawing rely on an out-of-range index failing instead of touching memory.
template <typename Element> class IndexedBuffer {
public:
    static constexpr int kLastIndex = 800;

    Element& operator[](int index) { return elements_[checked(index)]; }
    Element operator[](int index) const { return elements_[checked(index)]; }

    bool operator==(const IndexedBuffer&) const = default;

private:
    static std::size_t checked(int index) {
        if (index < 0 || index > kLastIndex) {
            throw SubscriptRangeError();
        }
        return static_cast<std::size_t>(index);
    }

    std::array<Element, kLastIndex + 1> elements_{};
};

// Sample values, or raw status readings.
using SampleBuffer = IndexedBuffer<std::uint8_t>;
// Counter readings, one a sample.
using CountBuffer = IndexedBuffer<std::int64_t>;

} // namespace vistrace
