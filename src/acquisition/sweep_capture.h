#pragma once

#include "capture.h"
#include "sweep_timing.h"

namespace vistrace {

// How a sweep is captured: the free readport, under the scheduling main chose with the port
// back end.
class SweepCapture {
public:
    virtual ~SweepCapture() = default;

    // Captures one sweep exactly as the free readport does; timing says how long it will take.
    virtual void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                          const SweepTiming& timing) = 0;

protected:
    SweepCapture() = default;
    SweepCapture(const SweepCapture&) = default;
    SweepCapture& operator=(const SweepCapture&) = default;
};

// Sweeps at the thread's normal priority.
class NormalPriority final : public SweepCapture {
public:
    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                  const SweepTiming& /*timing*/) override {
        vistrace::readport(state, port, counter);
    }
};

} // namespace vistrace
