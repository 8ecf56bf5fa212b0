#include "errors.h"
#include "fake_counter.h"
#include "fake_scheduler.h"
#include "realtime_sweeps.h"
#include "scripted_port.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

constexpr RealtimeLimits kDefaultLimits{950'000, 1'000'000};

// A sweep of 500 samples on a counter of microsecond ticks that advances 10 us a reading.
struct RealtimeSweepsTest : ::testing::Test {
    RealtimeSweepsTest() {
        state.port_address = 0x378;
        state.sample_count = 500;
        state.sample_interval = 0.00001;
        state.counter_frequency = 1'000'000;
    }
    ScopeState state;
    testing::ScriptedPort port;
    testing::FakeCounter counter{1'000'000, 10};
    testing::FakeScheduler scheduler;
};

TEST_F(RealtimeSweepsTest, GrantedOnlyWithTwoCpusTheThrottleOnAndTheSystemWilling) {
    struct Row {
        int cpus;
        std::int64_t runtime_us;
        bool refuse;
        int limit;
        RealtimeGrant grant;
        int priority;
    };
    for (const Row row : {Row{2, 950'000, false, 0, RealtimeGrant::Granted, 1},
                          Row{8, 950'000, false, 99, RealtimeGrant::Granted, 10},
                          Row{1, 950'000, false, 10, RealtimeGrant::OneCpu, 0},
                          Row{2, -1, false, 10, RealtimeGrant::LimitOff, 0},
                          Row{2, 950'000, true, 10, RealtimeGrant::Refused, 0}}) {
        testing::FakeScheduler fake;
        fake.cpus = row.cpus;
        fake.refuse = row.refuse;
        fake.limit = row.limit;
        RealtimeSweeps sweeps(fake, counter, {row.runtime_us, 1'000'000});
        fake.lastPriority = 0;
        sweeps.readport(state, port, counter);
        EXPECT_EQ(sweeps.grant(), row.grant) << row.cpus << " " << row.runtime_us;
        EXPECT_EQ(fake.lastPriority, row.priority) << row.cpus << " " << row.runtime_us;
        EXPECT_FALSE(fake.raised);
    }
}

TEST_F(RealtimeSweepsTest, RaisedForEveryPortAccessOfTheSweepAndRestoredHoweverItEnds) {
    for (const int failingAccess : {-1, 0, 1000, 2999}) {
        RealtimeSweeps sweeps(scheduler, counter, kDefaultLimits);
        std::vector<bool> raisedAt;
        port.beforeAccess = [&](const testing::PortAccess&) {
            raisedAt.push_back(scheduler.raised);
            if (static_cast<int>(raisedAt.size()) - 1 == failingAccess) {
                throw PortError("unplugged");
            }
        };
        if (failingAccess < 0) {
            sweeps.readport(state, port, counter);
        } else {
            EXPECT_THROW(sweeps.readport(state, port, counter), PortError);
        }
        EXPECT_EQ(std::count(raisedAt.begin(), raisedAt.end(), false), 0) << failingAccess;
        EXPECT_FALSE(scheduler.raised) << failingAccess;
    }
}

// The kernel would stop the thread mid-sweep at its limit: however many sweeps follow one
// another, no period may hold more real-time time than 90 % of the limit.
TEST_F(RealtimeSweepsTest, BackToBackSweepsStayWithinTheShare) {
    struct Row {
        double interval;
        int sweeps;
        double fewestRaised;
        double mostRaised;
    };
    for (const Row row :
         {Row{0.00001, 300, 0.8, 0.9}, Row{0.0009, 12, 0.3, 0.5}, Row{0.0018, 3, 0.0, 0.0}}) {
        state.sample_interval = row.interval;
        std::vector<std::int64_t> changes; // raise and restore times, alternating
        scheduler.onChange = [&] { changes.push_back(counter.now); };
        RealtimeSweeps sweeps(scheduler, counter, kDefaultLimits);
        changes.clear();
        for (int i = 0; i < row.sweeps; ++i) {
            sweeps.readport(state, port, counter);
            port.clearAccesses();
        }
        for (std::size_t end = 1; end < changes.size(); end += 2) {
            std::int64_t used = 0;
            for (std::size_t span = 1; span <= end; span += 2) {
                const std::int64_t from = std::max(changes[span - 1], changes[end] - 1'000'000);
                used += std::max<std::int64_t>(0, changes[span] - from);
            }
            EXPECT_LE(used, 855'000) << row.interval << " sweep ending at " << changes[end];
        }
        const double raised = static_cast<double>(changes.size() / 2) / row.sweeps;
        EXPECT_GE(raised, row.fewestRaised) << row.interval;
        EXPECT_LE(raised, row.mostRaised) << row.interval;
    }
}

} // namespace
} // namespace vistrace
