#pragma once

#include "scheduler.h"
#include "sweep_capture.h"

#include <deque>

namespace vistrace {

// Whether sweeps may run under real-time priority on this machine, for this user.
enum class RealtimeGrant {
    Granted,
    OneCpu,          // a real-time sweep would take the only CPU from everything else
    LimitOff,        // without the kernel's throttle a runaway real-time thread freezes the machine
    ShareTooSmall,   // the throttle leaves too little for even the shortest sweep
    Refused,         // the system would not put the thread under real-time priority
    Stuck,           // the system would not take the thread back to its normal priority
    AlreadyRealtime, // started real-time by whoever ran it, whose choice that is
};

// The shortest sweep the time bases ask for: ten divisions of 500 us.
inline constexpr double kShortestSweepSeconds = 0.005;

// The priority sweeps ask for: RLIMIT_RTPRIO's, within 1 to 10, far below the kernel's
// interrupt threads (50), which must still run while a sweep spins.
int capturePriority(Scheduler& scheduler);

// Finds out by trying it once on the calling thread, which is left at its normal priority
// unless the answer is Stuck; a thread that is real-time already is left alone.
RealtimeGrant findRealtimeGrant(Scheduler& scheduler, const RealtimeLimits& limits);

// Sweeps under SCHED_FIFO where granted, so that other work on a busy machine cannot cut
// into the sample timing. Only the capture itself is raised: the trigger wait, the drawing
// and the event pump stay at normal priority; once a thread fails to come back down, nothing
// is raised again. The program keeps its real-time use under 90 % of
// the kernel's limit, because a thread that reaches the limit is stopped for the rest of
// the period, which would leave a hole in the sweep; a sweep that does not fit is captured
// at normal priority instead.
class RealtimeSweeps final : public SweepCapture {
public:
    // clock is the counter that times the sweeps; the grant is found here, once.
    RealtimeSweeps(Scheduler& scheduler, PerformanceCounter& clock, RealtimeLimits limits);

    [[nodiscard]] RealtimeGrant grant() const { return grant_; }

    void readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                  const SweepTiming& timing) override;

private:
    struct Span {
        double start;
        double end;
    };

    [[nodiscard]] double now();
    [[nodiscard]] bool fitsShare(double sweep, double start);

    Scheduler& scheduler_;
    PerformanceCounter& clock_;
    RealtimeLimits limits_;
    RealtimeGrant grant_;
    int priority_;
    std::int64_t ticksPerSecond_ = 0;
    std::deque<Span> raisedSpans_; // of the last period, oldest first
    double raisedSeconds_ = 0.0;   // their total
};

} // namespace vistrace
