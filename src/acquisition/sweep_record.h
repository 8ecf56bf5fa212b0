#pragma once

#include "scope_state.h"

#include <cstdint>
#include <vector>

namespace vistrace {

// Sample value 128 is 0 V, and every 25.5 units below it one volt more.
inline constexpr double kUnitsPerVolt = 25.5;
inline constexpr double voltsOf(std::uint8_t sample) {
    return (128.0 - sample) / kUnitsPerVolt;
}

// One sweep as it was captured, kept apart from the state that the next sweep overwrites:
// each sample's value and its real time from the sweep's first sample.
struct SweepRecord {
    std::vector<std::uint8_t> samples;
    std::vector<double> seconds;
    // The sweep read no clock per sample, so its times are its measured length spread
    // evenly rather than the samples' own.
    bool spread = false;
    // From before the first sample to after the last, on the counter.
    double lengthSeconds = 0.0;
};

// The last sweep in state: its times from the counter readings at which each sample began its
// wait, or, where it waited nothing and read none, lengthSeconds spread evenly over its samples.
SweepRecord recordSweep(const ScopeState& state, double lengthSeconds);

} // namespace vistrace
