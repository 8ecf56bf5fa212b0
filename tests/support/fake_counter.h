#pragma once

#include "inpout.h"

namespace vistrace::testing {

// A counter that advances by a fixed step at every reading.
struct FakeCounter final : PerformanceCounter {
    explicit FakeCounter(std::int64_t ticksPerSecond = 1'000'000, std::int64_t ticksPerReading = 1)
        : frequency(ticksPerSecond), step(ticksPerReading) {}
    std::int32_t QueryPerformanceFrequency(std::int64_t& out) override {
        out = frequency;
        return frequency != 0 ? 1 : 0;
    }
    std::int32_t QueryPerformanceCounter(std::int64_t& out) override {
        out = now += step;
        ++readings;
        return 1;
    }
    std::int64_t frequency, step, now = 0;
    int readings = 0;
};

} // namespace vistrace::testing
