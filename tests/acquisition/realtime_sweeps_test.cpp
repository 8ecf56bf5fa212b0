#include "errors.h"
#include "fakes.h"
#include "realtime_sweeps.h"

#include <gtest/gtest.h>

namespace vistrace::testing {
namespace {

// No period (1 s) may hold more real-time time than 90 % of the limit, or the kernel stops a sweep.
TEST(RealtimeSweeps, RaisedOnlyWhereGrantedAndWithinTheShare) {
    struct Row {
        int cpus, limit, runtime_us, priority, sweeps, fewestRaised, mostRaised;
        bool refuse;
        double interval;
    };
    for (const Row row : {Row{2, 99, 950'000, 10, 300, 240, 270, false, 0.00001},
                          Row{2, 0, 950'000, 1, 12, 4, 6, false, 0.0009},
                          Row{2, 10, 950'000, 0, 3, 0, 0, false, 0.0018},
                          Row{1, 10, 950'000, 0, 3, 0, 0, false, 0.00001},
                          Row{2, 10, -1, 0, 3, 0, 0, false, 0.00001},
                          Row{2, 10, 950'000, 0, 3, 0, 0, true, 0.00001}}) {
        ScopeState state; // the port address plays no part here
        state.sample_count = 500;
        state.sample_interval = row.interval;
        state.counter_frequency = 1'000'000;
        ScriptedPort port;
        FakeCounter counter{1'000'000, 10}; // 10 us a reading
        FakeScheduler scheduler(row.cpus, row.limit, row.refuse);
        RealtimeSweeps sweeps(scheduler, counter, {row.runtime_us, 1'000'000});
        std::vector<std::int64_t> times; // of raising and restoring, in turn
        scheduler.onChange = [&] {
            times.push_back(counter.now);
            EXPECT_EQ(scheduler.priority, times.size() % 2 == 1 ? row.priority : 0);
        };
        port.queueSamples(std::vector<std::uint8_t>(350, 128));
        port.queueReadings({300}); // out of a byte's range: the sweep fails at sample 351
        EXPECT_THROW(sweeps.readport(state, port, counter), OverflowError);
        EXPECT_EQ(times.size(), row.priority != 0 ? 2U : 0U) << row.interval;
        const std::size_t from = times.size(); // leaves out the failed sweep
        for (int i = 0; i < row.sweeps; ++i) {
            sweeps.readport(state, port, counter);
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

} // namespace
} // namespace vistrace::testing
