#include "errors.h"
#include "fakes.h"
#include "linux_scheduler.h"
#include "realtime_sweeps.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vistrace::testing {
namespace {

// No 1 s period may hold more real-time than 90 % of the limit, or the kernel stops a sweep.
TEST(RealtimeSweeps, RaisedOnlyWhereGrantedAndWithinTheShare) {
    struct Row {
        RealtimeGrant grant = RealtimeGrant::Granted; // found at the start
        int cpus = 2, limit = 10;
        std::int64_t runtime_us = 950'000;
        int priority = 0; // of the raised sweeps; 0 where none is raised
        int sweeps = 3, fewestRaised = 0, mostRaised = 0;
        double interval = 0.00001;
        bool refuse = false, startedRealtime = false;
        int restores = -1; // that come back down
    };
    using enum RealtimeGrant;
    // clang-format off
    for (const Row row : {
             Row{.limit = 99, .priority = 10, .sweeps = 300, .fewestRaised = 240, .mostRaised = 270},
             Row{.limit = 0, .priority = 1, .sweeps = 12, .fewestRaised = 4, .mostRaised = 6, .interval = 0.0009},
             Row{.interval = 0.0018}, // longer than the share
             Row{.grant = OneCpu, .cpus = 1}, Row{.grant = LimitOff, .runtime_us = -1},
             Row{.grant = LimitOff, .runtime_us = 1'000'000}, // the whole period
             Row{.grant = ShareTooSmall, .runtime_us = 5'000}, Row{.grant = ShareTooSmall, .runtime_us = 0},
             Row{.grant = Refused, .refuse = true}, Row{.grant = AlreadyRealtime, .startedRealtime = true},
             Row{.grant = Stuck, .restores = 0}, // the grant check's own restore
             Row{.priority = 10, .sweeps = 5, .restores = 2}}) { // stuck after the third sweep's
        // clang-format on
        ScopeState state; // the port address plays no part here
        state.sample_count = 500;
        state.sample_interval = row.interval;
        state.counter_frequency = 1'000'000;
        ScriptedPort port;
        FakeCounter counter{1'000'000, 10}; // 10 us a reading
        FakeScheduler scheduler(row.cpus, row.limit, row.refuse);
        scheduler.restoresLeft = row.restores;
        scheduler.startedRt = row.startedRealtime;
        RealtimeSweeps sweeps(scheduler, counter, {row.runtime_us, 1'000'000});
        EXPECT_EQ(sweeps.grant(), row.grant);
        std::vector<std::int64_t> times; // of raising and restoring, in turn
        scheduler.onChange = [&] {
            times.push_back(counter.now);
            EXPECT_EQ(scheduler.priority, times.size() % 2 == 1 ? row.priority : 0);
        };
        port.queueSamples(std::vector<std::uint8_t>(350, 128));
        port.queueReadings({300}); // out of a byte's range: the sweep fails at sample 351
        SweepTiming timing;
        timing.learn(0.01, 1000, 0.0); // a counter reading's 10 us a sample, beyond its wait
        EXPECT_THROW(sweeps.readport(state, port, counter, timing), OverflowError);
        EXPECT_EQ(times.size(), row.priority != 0 ? 2U : 0U) << row.interval;
        const std::size_t from = times.size(); // leaves out the failed sweep
        for (int i = 0; i < row.sweeps; ++i) {
            sweeps.readport(state, port, counter, timing);
        }
        for (std::size_t end = from + 1; end < times.size(); end += 2) {
            std::int64_t used = 0;
            for (std::size_t i = from + 1; i <= end; i += 2) {
                used += std::max(times[i] - std::max(times[i - 1], times[end] - 1'000'000), 0L);
            }
            EXPECT_LE(used, 855'000) << row.interval << " at " << times[end];
        }
        // cppcheck-suppress duplicateExpression ; the scheduler's hook grows times in readport
        const auto raised = static_cast<int>(times.size() - from) / 2;
        EXPECT_TRUE(raised >= row.fewestRaised && raised <= row.mostRaised) << raised;
    }
}

// holdNice makes CAP_SYS_NICE effective while lent, and permitted (to lend again) while kept.
__user_cap_data_struct capabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, 2> data{};
    syscall(SYS_capget, &header, data.data());
    return data[0];
}
void holdNice(bool lent, bool kept) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, 2> data{capabilities()};
    constexpr std::uint32_t kNice = 1U << CAP_SYS_NICE;
    data[0].effective = lent ? data[0].effective | kNice : data[0].effective & ~kNice;
    data[0].permitted &= kept ? ~0U : ~kNice;
    ASSERT_EQ(syscall(SYS_capset, &header, data.data()), 0);
}

// An lp member's thread, granted rtprio 10 without CAP_SYS_NICE: where that limit cannot be had,
// the capability stands in for it in each raise alone, and every restore is the member's.
class LpMemberScheduler final : public Scheduler {
public:
    explicit LpMemberScheduler(bool lending) : lendNice(lending) {}
    bool raise(int priority) override {
        holdNice(lendNice, lendNice);
        const bool raised = real.raise(priority);
        holdNice(false, lendNice);
        return raised;
    }
    bool restore() override { return real.restore(); }
    bool startedRealtime() override { return real.startedRealtime(); }
    int usableCpus() override { return 2; } // the CPU rule is the fake's to test
    int priorityLimit() override { return real.priorityLimit(); }

    LinuxScheduler real;
    bool lendNice;
};

[[noreturn]] void sweepAsLpMember(bool mayGiveLimit, rlim_t hardLimit) {
    const auto normalAfter = [](const char* step) {
        std::fprintf(stderr, "%s: policy %#x; ", step, sched_getscheduler(0));
        return !isRealtimePolicy(sched_getscheduler(0));
    };
    const rlimit limit{10, std::max<rlim_t>(hardLimit, 10)};
    ASSERT_TRUE(!mayGiveLimit || setrlimit(RLIMIT_RTPRIO, &limit) == 0);
    LpMemberScheduler scheduler(!mayGiveLimit);
    const bool raised = scheduler.raise(capturePriority(scheduler)) && !normalAfter("raised");
    const bool granted =
        scheduler.restore() && normalAfter("restored") &&
        findRealtimeGrant(scheduler, {950'000, 1'000'000}) == RealtimeGrant::Granted;
    std::exit(raised && granted && normalAfter("after the grant check") ? 0 : 1);
}

// A child the kernel treats as an unprivileged lp member's is back at the normal policy after
// each raise, restore and grant check, and granted.
TEST(RealtimeSweeps, AnUnprivilegedThreadComesBackDown) {
    rlimit rtprio{};
    getrlimit(RLIMIT_RTPRIO, &rtprio);
    const bool mayGiveLimit =
        rtprio.rlim_max >= 10 || (capabilities().effective >> CAP_SYS_RESOURCE & 1U) != 0;
    if (!mayGiveLimit && (capabilities().permitted >> CAP_SYS_NICE & 1U) == 0) {
        GTEST_SKIP() << "neither RLIMIT_RTPRIO 10 nor CAP_SYS_NICE can be had here";
    }
    EXPECT_EXIT(sweepAsLpMember(mayGiveLimit, rtprio.rlim_max), ::testing::ExitedWithCode(0),
                "raised: policy 0x40000001");
}

[[noreturn]] void sweepStartedUnderChrt() {
    sched_param started{5};
    ASSERT_EQ(pthread_setschedparam(pthread_self(), SCHED_FIFO, &started), 0);
    LinuxScheduler scheduler;
    const bool back = scheduler.raise(1) && scheduler.restore();
    sched_getparam(0, &started);
    std::fprintf(stderr, "restored: policy %#x priority %d", sched_getscheduler(0),
                 started.sched_priority);
    const RealtimeGrant grant = findRealtimeGrant(scheduler, {950'000, 1'000'000});
    std::exit(back && grant == RealtimeGrant::AlreadyRealtime ? 0 : 1);
}

// Started under chrt -f 5: a restore puts that back and says so, and vistrace raises nothing.
TEST(RealtimeSweeps, AProgramStartedRealTimeKeepsItsPriority) {
    if ((capabilities().effective >> CAP_SYS_NICE & 1U) == 0) {
        GTEST_SKIP() << "chrt needs CAP_SYS_NICE, which this process lacks";
    }
    EXPECT_EXIT(sweepStartedUnderChrt(), ::testing::ExitedWithCode(0),
                "restored: policy 0x40000001 priority 5");
}

// The throttle as the kernel writes it, and as it never should: anything unreadable is no throttle.
TEST(RealtimeSweeps, TheThrottleIsReadFromItsTwoFiles) {
    const std::filesystem::path directory = ::testing::TempDir() + "/sched_rt";
    // runtime, period (nullptr: no such file), what is read
    // clang-format off
    for (const auto& [runtime, period, expected] :
         {std::tuple{"950000\n", "1000000\n", std::pair{950'000L, 1'000'000L}}, {"-1\n", "1000000\n", {-1, 1'000'000}},
          {"lots\n", "1000000\n", {-1, 0}}, {"950000\n", "", {-1, 0}}, {"950000\n", "0\n", {-1, 0}},
          {nullptr, "1000000\n", {-1, 0}}}) { // clang-format on
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        for (const auto& [name, text] :
             {std::pair{"sched_rt_runtime_us", runtime}, {"sched_rt_period_us", period}}) {
            if (text != nullptr) {
                std::ofstream(directory / name) << text;
            }
        }
        const RealtimeLimits limits = readRealtimeLimits(directory);
        EXPECT_EQ(std::pair(limits.runtime_us, limits.period_us), expected) << period;
    }
}

} // namespace
} // namespace vistrace::testing
