#include "monotonic_counter.h"

#include <ctime>

namespace vistrace {

std::int32_t MonotonicCounter::QueryPerformanceFrequency(std::int64_t& frequency) {
    frequency = kTicksPerSecond;
    return 1;
}

std::int32_t MonotonicCounter::QueryPerformanceCounter(std::int64_t& count) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    count = static_cast<std::int64_t>(now.tv_sec) * kTicksPerSecond + now.tv_nsec;
    return 1;
}

} // namespace vistrace
