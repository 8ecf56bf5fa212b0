#pragma once

#include "capture.h"

namespace vistrace {

// The scheduling a sweep is captured under; main chooses it with the port back end.
class SweepPriority {
public:
    virtual ~SweepPriority() = default;

    // Captures one sweep exactly as the free readport does.
    virtual void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter) = 0;

protected:
    SweepPriority() = default;
    SweepPriority(const SweepPriority&) = default;
    SweepPriority& operator=(const SweepPriority&) = default;
};

// Sweeps at the thread's normal priority, as before there was any other choice.
class NormalPriority final : public SweepPriority {
public:
    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter) override {
        vistrace::readport(state, port, counter);
    }
};

} // namespace vistrace
