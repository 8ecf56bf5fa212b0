#pragma once

#include "fixed_decimal.h"
#include "sample_buffer.h"

#include <cstdint>

namespace vistrace {

// The instrument's settings, counter readings, run flag and last sweep. Plain data: the
// window's procedures and handlers read and assign the fields directly.
struct ScopeState {
    std::int16_t port_address = 0;  // data register, the port's base
    std::int16_t sample_count = 0;  // samples per sweep, at most 800
    std::uint8_t x_step = 0;        // screen units between neighbouring samples
    std::uint8_t trace_width = 0;   // pen width of the trace in pixels
    std::uint8_t trigger_level = 0; // in sample units
    FixedDecimal volts_gain;        // screen rows per sample unit
    double sample_interval = 0.0;   // seconds before each sample; exactly 0 means no wait
    std::int64_t counter_frequency = 0;
    std::int64_t count_start = 0;
    std::int64_t count_now = 0;
    double elapsed = 0.0; // seconds of the current sample's wait
    bool stop_requested = false;
    SampleBuffer samples; // the last sweep in elements 1 to sample_count
    // The counter when each sample of the last sweep began its wait, beside samples; all 0
    // after a sweep that waited nothing, as it reads no counter.
    CountBuffer sample_starts;

    bool operator==(const ScopeState&) const = default;
};

} // namespace vistrace
