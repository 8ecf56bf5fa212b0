#pragma once

#include "capture.h"
#include "sweep_timing.h"

namespace vistrace {

// The scheduling a sweep is captured under; main chooses it with the port back end.
class SweepPriority {
public:
    virtual ~SweepPriority() = default;

    // Captures one sweep exactly as the free readport does; timing says how long it will take.
    virtual void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                          const SweepTiming& timing) = 0;

protected:
    SweepPriority() = default;
    SweepPriority(const SweepPriority&) = default;
    SweepPriority& operator=(const SweepPriority&) = default;
};

// Sweeps at the thread's normal priority, as before there was any other choice.
class NormalPriority final : public SweepPriority {
public:
    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                  const SweepTiming& /*timing*/) override {
        vistrace::readport(state, port, counter);
    }
};

} // namespace vistrace
