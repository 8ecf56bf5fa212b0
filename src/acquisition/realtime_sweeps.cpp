#include "realtime_sweeps.h"

#include <algorithm>

namespace vistrace {
namespace {

constexpr int kHighestPriority = 10;
constexpr double kShareOfLimit = 0.9;
constexpr double kMicrosecond = 1e-6;

// Returns the thread to its normal priority however the sweep ends, and withdraws the
// grant if the thread stays real-time: raising it again would only repeat that.
class NormalAgain {
public:
    NormalAgain(Scheduler& scheduler, bool raised, RealtimeGrant& grant)
        : scheduler_(scheduler), raised_(raised), grant_(grant) {}
    ~NormalAgain() {
        if (raised_ && !scheduler_.restore()) {
            grant_ = RealtimeGrant::Stuck;
        }
    }
    NormalAgain(const NormalAgain&) = delete;
    NormalAgain& operator=(const NormalAgain&) = delete;

private:
    Scheduler& scheduler_;
    bool raised_;
    RealtimeGrant& grant_;
};

double shareSeconds(const RealtimeLimits& limits) {
    return kShareOfLimit * static_cast<double>(limits.runtime_us) * kMicrosecond;
}

} // namespace

int capturePriority(Scheduler& scheduler) {
    return std::clamp(scheduler.priorityLimit(), 1, kHighestPriority);
}

RealtimeGrant findRealtimeGrant(Scheduler& scheduler, const RealtimeLimits& limits) {
    if (scheduler.startedRealtime()) {
        return RealtimeGrant::AlreadyRealtime;
    }
    if (scheduler.usableCpus() < 2) {
        return RealtimeGrant::OneCpu;
    }
    if (!limits.throttled()) {
        return RealtimeGrant::LimitOff;
    }
    if (shareSeconds(limits) < kShortestSweepSeconds) {
        return RealtimeGrant::ShareTooSmall;
    }
    if (!scheduler.raise(capturePriority(scheduler))) {
        return RealtimeGrant::Refused;
    }
    return scheduler.restore() ? RealtimeGrant::Granted : RealtimeGrant::Stuck;
}

RealtimeSweeps::RealtimeSweeps(Scheduler& scheduler, PerformanceCounter& clock,
                               RealtimeLimits limits)
    : scheduler_(scheduler), clock_(clock), limits_(limits),
      grant_(findRealtimeGrant(scheduler, limits)), priority_(capturePriority(scheduler)) {
    if (clock_.QueryPerformanceFrequency(ticksPerSecond_) == 0) {
        ticksPerSecond_ = 0;
    }
}

void RealtimeSweeps::readport(ScopeState& state, PortIo& port, PerformanceCounter& counter,
                              const SweepTiming& timing) {
    if (grant_ != RealtimeGrant::Granted || ticksPerSecond_ <= 0) {
        vistrace::readport(state, port, counter);
        return;
    }
    const double start = now();
    const bool raised =
        state.sample_count >= 1 &&
        fitsShare(timing.sweepSeconds(state.sample_count, state.sample_interval), start) &&
        scheduler_.raise(priority_);
    {
        const NormalAgain normal(scheduler_, raised, grant_);
        vistrace::readport(state, port, counter);
    }
    const double end = now();
    if (raised) {
        raisedSpans_.push_back({start, end});
        raisedSeconds_ += end - start;
    }
}

double RealtimeSweeps::now() {
    std::int64_t ticks = 0;
    clock_.QueryPerformanceCounter(ticks);
    return static_cast<double>(ticks) / static_cast<double>(ticksPerSecond_);
}

// Counts the real-time time of the last period as a sliding window, which is never less
// than what the kernel counts in its own periods. Sweeps at the fastest time bases follow
// one another by the hundred, so the sum is kept as spans come and go.
bool RealtimeSweeps::fitsShare(double sweep, double start) {
    const double periodStart = start - static_cast<double>(limits_.period_us) * kMicrosecond;
    while (!raisedSpans_.empty() && raisedSpans_.front().end <= periodStart) {
        raisedSeconds_ -= raisedSpans_.front().end - raisedSpans_.front().start;
        raisedSpans_.pop_front();
    }
    if (raisedSpans_.empty()) {
        raisedSeconds_ = 0.0; // no rounding left over from the sums
    }
    // Spans follow one another, so only the oldest can reach back past the period.
    double used = raisedSeconds_;
    if (!raisedSpans_.empty()) {
        used -= std::max(0.0, periodStart - raisedSpans_.front().start);
    }
    return used + sweep < shareSeconds(limits_);
}

} // namespace vistrace
