#pragma once

#include "realtime_sweeps.h"
#include "scheduler.h"

#include <filesystem>
#include <pthread.h>

namespace vistrace {

// The scheduling of the thread that constructs it, through the POSIX thread calls.
class LinuxScheduler final : public Scheduler {
public:
    LinuxScheduler();

    bool raise(int priority) override;
    bool restore() override;
    bool startedRealtime() override;
    int usableCpus() override;
    int priorityLimit() override;

private:
    int normalPolicy_ = SCHED_OTHER;
    sched_param normalParam_{};
};

// Whether a policy as sched_getscheduler reports it (reset-on-fork bit and all) is real-time.
bool isRealtimePolicy(int policy);

// The throttle's settings from sched_rt_runtime_us and sched_rt_period_us in directory.
RealtimeLimits readRealtimeLimits(const std::filesystem::path& directory = "/proc/sys/kernel");

// Whether sweeps may run under real-time priority for this user on this machine, found through
// this scheduler and the kernel's limits.
RealtimeGrant machineRealtimeGrant();

} // namespace vistrace
