#include "linux_scheduler.h"

#include <climits>
#include <fstream>
#include <sched.h>
#include <sys/resource.h>

namespace vistrace {
namespace {

bool readValue(const std::filesystem::path& file, std::int64_t& value) {
    std::ifstream input(file);
    return static_cast<bool>(input >> value);
}

} // namespace

bool isRealtimePolicy(int policy) {
    const int plain = policy & ~SCHED_RESET_ON_FORK;
    return plain == SCHED_FIFO || plain == SCHED_RR;
}

LinuxScheduler::LinuxScheduler() {
    pthread_getschedparam(pthread_self(), &normalPolicy_, &normalParam_);
}

bool LinuxScheduler::raise(int priority) {
    sched_param param{};
    param.sched_priority = priority;
    // A thread started meanwhile must not inherit the real-time policy.
    return pthread_setschedparam(pthread_self(), SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
}

// Without CAP_SYS_NICE a thread may lower its own priority but not clear the reset-on-fork
// flag that raise set, so the flag goes back with the normal policy. Should the saved policy
// be refused all the same, plain time sharing is still better than staying real-time while
// events are pumped. glibc answers pthread_getschedparam from what it last set, so only the
// kernel can say whether the thread really came back: to the saved policy and priority when
// those were real-time, to any policy that is not otherwise.
bool LinuxScheduler::restore() {
    if (pthread_setschedparam(pthread_self(), normalPolicy_ | SCHED_RESET_ON_FORK, &normalParam_) !=
        0) {
        const sched_param plain{};
        pthread_setschedparam(pthread_self(), SCHED_OTHER | SCHED_RESET_ON_FORK, &plain);
    }
    const int policy = sched_getscheduler(0);
    if (!startedRealtime()) {
        return !isRealtimePolicy(policy);
    }
    sched_param now{};
    return sched_getparam(0, &now) == 0 &&
           (policy & ~SCHED_RESET_ON_FORK) == (normalPolicy_ & ~SCHED_RESET_ON_FORK) &&
           now.sched_priority == normalParam_.sched_priority;
}

bool LinuxScheduler::startedRealtime() {
    return isRealtimePolicy(normalPolicy_);
}

int LinuxScheduler::usableCpus() {
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    if (sched_getaffinity(0, sizeof cpus, &cpus) != 0) {
        return 1;
    }
    return CPU_COUNT(&cpus);
}

int LinuxScheduler::priorityLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0) {
        return 0;
    }
    return limit.rlim_cur >= static_cast<rlim_t>(INT_MAX) ? INT_MAX
                                                          : static_cast<int>(limit.rlim_cur);
}

// Anything unreadable counts as the throttle being off, under which nothing is raised.
RealtimeLimits readRealtimeLimits(const std::filesystem::path& directory) {
    RealtimeLimits limits;
    std::int64_t runtime = 0;
    std::int64_t period = 0;
    if (readValue(directory / "sched_rt_runtime_us", runtime) &&
        readValue(directory / "sched_rt_period_us", period) && period > 0) {
        limits.runtime_us = runtime;
        limits.period_us = period;
    }
    return limits;
}

RealtimeGrant machineRealtimeGrant() {
    LinuxScheduler scheduler;
    return findRealtimeGrant(scheduler, readRealtimeLimits());
}

} // namespace vistrace
