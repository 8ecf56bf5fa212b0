#pragma once

#include <cstdint>

namespace vistrace {

// The calling thread's scheduling, as far as real-time capture needs it.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    // Puts the calling thread under SCHED_FIFO at priority; false where the system refuses.
    virtual bool raise(int priority) = 0;
    // Puts the calling thread back under the policy it had before raise; false where the
    // kernel does not report that policy afterwards.
    virtual bool restore() = 0;
    // Whether the thread was already real-time before anything raised it (started under chrt).
    virtual bool startedRealtime() = 0;
    // How many CPUs the program may run on.
    virtual int usableCpus() = 0;
    // The highest real-time priority the process may take without privilege.
    virtual int priorityLimit() = 0;

protected:
    Scheduler() = default;
    Scheduler(const Scheduler&) = default;
    Scheduler& operator=(const Scheduler&) = default;
};

// The kernel's real-time throttle: real-time threads together get at most runtime_us of
// every period_us, and are stopped for the rest of the period once they have used it. A
// runtime of -1, or one that fills the whole period, means the throttle is off (or could not
// be read).
struct RealtimeLimits {
    std::int64_t runtime_us = -1;
    std::int64_t period_us = 0;

    [[nodiscard]] bool throttled() const { return runtime_us >= 0 && runtime_us < period_us; }
};

} // namespace vistrace
