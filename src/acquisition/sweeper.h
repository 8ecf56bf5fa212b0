#pragma once

#include "inpout.h"
#include "scope_state.h"
#include "sweep_capture.h"
#include "sweep_timing.h"
#include "trigger.h"

#include <functional>
#include <optional>

namespace vistrace {

// Sweeps whose samples lie as far apart as a time base asks, on whatever port is at
// port_address: the port is timed before its first trigger wait or sweep, each sweep's waits
// are what the port leaves of the period, and every sweep tells how long the port took, which
// the next ones are spaced by. Without a counter there is nothing to time with, and the time
// base's own interval stands.
class Sweeper {
public:
    Sweeper(PortIo& port, PerformanceCounter& counter, SweepCapture& sweeps);

    // Times the port at state.port_address unless that is done already.
    void timePort(const ScopeState& state);
    // The port at an address may be another one from now on (it was bound anew): the next use
    // times it afresh.
    void forgetPort();
    // Sets state.sample_interval so that samples come period seconds apart.
    void spaceSamples(ScopeState& state, double period, double nominalInterval);
    // Captures one sweep into state and learns the port's time from it.
    void readport(ScopeState& state);
    // Waits for the trigger at the slope of slopeIndex; a port picked in pumpEvents is timed
    // there, before its first pair, since the capture must follow its trigger at once.
    TriggerOutcome waittrigger(const ScopeState& state, int slopeIndex,
                               const std::function<void()>& pumpEvents);

    [[nodiscard]] const SweepTiming& timing() const { return timing_; }
    // The last sweep's length on the counter, from before its first sample to after its last;
    // 0 without a counter.
    [[nodiscard]] double lastSweepSeconds() const { return lastSweepSeconds_; }

private:
    PortIo& port_;
    PerformanceCounter& counter_;
    SweepCapture& sweeps_;
    SweepTiming timing_;
    std::optional<std::int16_t> timedAddress_;
    double lastSweepSeconds_ = 0.0;
};

} // namespace vistrace
