#pragma once

#include "inpout.h"

namespace vistrace {

// The high-resolution counter on Linux: the monotonic clock, counted in nanoseconds.
class MonotonicCounter final : public PerformanceCounter {
public:
    static constexpr std::int64_t kTicksPerSecond = 1'000'000'000;

    std::int32_t QueryPerformanceFrequency(std::int64_t& frequency) override;
    std::int32_t QueryPerformanceCounter(std::int64_t& count) override;
};

} // namespace vistrace
