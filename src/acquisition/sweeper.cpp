#include "sweeper.h"

namespace vistrace {

Sweeper::Sweeper(PortIo& port, PerformanceCounter& counter, SweepCapture& sweeps)
    : port_(port), counter_(counter), sweeps_(sweeps) {}

void Sweeper::timePort(const ScopeState& state) {
    if (state.counter_frequency == 0 || timedAddress_ == state.port_address) {
        return;
    }
    timing_.measure(port_, counter_, state.counter_frequency, state.port_address);
    timedAddress_ = state.port_address;
}

void Sweeper::forgetPort() {
    timedAddress_.reset();
}

// What the port takes is learnt between sweeps, so the wait is worked out afresh for each.
void Sweeper::spaceSamples(ScopeState& state, double period, double nominalInterval) {
    timePort(state);
    state.sample_interval =
        state.counter_frequency == 0 ? nominalInterval : timing_.spaceFor(period);
}

// A timed sweep learns from its samples' own steps, which a sweep held up somewhere does not
// spoil; one that waits nothing reads no counter inside, so only its whole length tells.
void Sweeper::readport(ScopeState& state) {
    timePort(state);
    if (state.counter_frequency == 0) {
        sweeps_.readport(state, port_, counter_, timing_);
        return;
    }
    std::int64_t start = 0;
    std::int64_t end = 0;
    counter_.QueryPerformanceCounter(start);
    sweeps_.readport(state, port_, counter_, timing_);
    counter_.QueryPerformanceCounter(end);
    lastSweepSeconds_ =
        static_cast<double>(end - start) / static_cast<double>(state.counter_frequency);
    if (state.sample_interval != 0.0) {
        timing_.learnSteps(state.sample_starts, state.sample_count, state.sample_interval,
                           state.counter_frequency);
    } else {
        timing_.learn(lastSweepSeconds_, state.sample_count, state.sample_interval);
    }
}

TriggerOutcome Sweeper::waittrigger(const ScopeState& state, int slopeIndex,
                                    const std::function<void()>& pumpEvents) {
    timePort(state);
    return vistrace::waittrigger(state, port_, slopeIndex, [&] {
        pumpEvents();
        timePort(state);
    });
}

} // namespace vistrace
