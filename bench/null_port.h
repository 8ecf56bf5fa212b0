#pragma once

#include "inpout.h"
#include "scope_state.h"

inline constexpr int kSamples = 500;

// A port that costs nothing, so that what is measured is the capture's own work.
class NullPort final : public vistrace::PortIo {
public:
    void Out32(std::int16_t /*address*/, int /*value*/) override {}
    std::int16_t Inp32(std::int16_t /*address*/) override { return 0x70; }
};

inline vistrace::ScopeState sweepState(double interval, std::int64_t counterFrequency) {
    vistrace::ScopeState state;
    state.port_address = 0x378;
    state.sample_count = kSamples;
    state.sample_interval = interval;
    state.counter_frequency = counterFrequency;
    return state;
}
