#include "linux_scheduler.h"
#include "median.h"
#include "monotonic_counter.h"
#include "null_port.h"
#include "realtime_sweeps.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr double kInterval = 0.00001;

// What the instrument does between two sweeps (drawing, the event pump), at normal priority.
constexpr auto kBetweenSweeps = std::chrono::milliseconds(5);

// One thread per usable CPU at normal priority, spinning while busy (like a parallel
// compile) and asleep otherwise.
class CompetingLoad {
public:
    explicit CompetingLoad(int threads) {
        for (int i = 0; i < threads; ++i) {
            threads_.emplace_back([this](const std::stop_token& stop) {
                while (!stop.stop_requested()) {
                    busy_.wait(false);
                }
            });
        }
    }
    ~CompetingLoad() {
        for (std::jthread& thread : threads_) {
            thread.request_stop();
        }
        setBusy(true);
    }
    CompetingLoad(const CompetingLoad&) = delete;
    CompetingLoad& operator=(const CompetingLoad&) = delete;

    void setBusy(bool busy) {
        busy_ = busy;
        busy_.notify_all();
    }

private:
    std::atomic<bool> busy_{false};
    std::vector<std::jthread> threads_;
};

// Sweep length over the nominal 500 intervals, then the pause the instrument would make. The
// timing learns from every sweep, as the instrument's does.
double sweepRatio(vistrace::SweepCapture& sweeps, vistrace::PerformanceCounter& counter,
                  vistrace::ScopeState& state, vistrace::SweepTiming& timing) {
    NullPort port;
    const auto start = std::chrono::steady_clock::now();
    sweeps.readport(state, port, counter, timing);
    const std::chrono::duration<double> length = std::chrono::steady_clock::now() - start;
    timing.learnSteps(state.sample_starts, state.sample_count, state.sample_interval,
                      state.counter_frequency);
    std::this_thread::sleep_for(kBetweenSweeps);
    return length.count() / (kSamples * kInterval);
}

// Median sweep ratios, the instrument's way with no competing load and against one busy
// thread per usable CPU, and plain against that load. The three kinds take turns in blocks,
// so that whatever else the machine does falls on all of them alike.
void BM_TimedSweepUnderLoad(benchmark::State& bench) {
    constexpr int kBlocks = 10;
    constexpr int kSweepsPerBlock = 10;
    vistrace::MonotonicCounter counter;
    vistrace::ScopeState state = sweepState(kInterval, vistrace::MonotonicCounter::kTicksPerSecond);
    vistrace::LinuxScheduler scheduler;
    vistrace::RealtimeSweeps instrument(scheduler, counter, vistrace::readRealtimeLimits());
    vistrace::NormalPriority plain;
    vistrace::SweepTiming timing;
    CompetingLoad load(scheduler.usableCpus());
    std::vector<double> idle;
    std::vector<double> loaded;
    std::vector<double> plainLoaded;
    for (auto _ : bench) {
        for (int block = 0; block < kBlocks; ++block) {
            load.setBusy(false);
            for (int i = 0; i < kSweepsPerBlock; ++i) {
                idle.push_back(sweepRatio(instrument, counter, state, timing));
            }
            load.setBusy(true);
            for (int i = 0; i < kSweepsPerBlock; ++i) {
                loaded.push_back(sweepRatio(instrument, counter, state, timing));
                plainLoaded.push_back(sweepRatio(plain, counter, state, timing));
            }
        }
    }
    bench.counters["idle_ratio"] = vistrace::median(idle);
    bench.counters["loaded_ratio"] = vistrace::median(loaded);
    bench.counters["plain_loaded_ratio"] = vistrace::median(plainLoaded);
    bench.counters["loaded_excess"] = vistrace::median(loaded) - vistrace::median(idle);
    bench.counters["realtime"] = instrument.grant() == vistrace::RealtimeGrant::Granted ? 1 : 0;
}
BENCHMARK(BM_TimedSweepUnderLoad)->Iterations(1)->Unit(benchmark::kSecond);

// Notes the moment of the first strobe of a sweep.
class StrobeClock final : public vistrace::PortIo {
public:
    void Out32(std::int16_t /*address*/, int /*value*/) override {
        if (!firstStrobe) {
            firstStrobe = std::chrono::steady_clock::now();
        }
    }
    std::int16_t Inp32(std::int16_t /*address*/) override { return 0x70; }

    std::optional<std::chrono::steady_clock::time_point> firstStrobe;
};

// From the trigger wait's return to the first strobe of a one-sample sweep: argument 1 with
// the switch to real-time priority (where granted), 0 without it. Reported as the mean
// (time), median_us and p90_us.
void BM_TriggerToFirstStrobe(benchmark::State& bench) {
    vistrace::MonotonicCounter counter;
    vistrace::LinuxScheduler scheduler;
    vistrace::RealtimeSweeps realtime(scheduler, counter, vistrace::readRealtimeLimits());
    vistrace::NormalPriority plain;
    vistrace::SweepCapture* sweeps = &plain;
    if (bench.range(0) == 1) {
        sweeps = &realtime;
    }
    StrobeClock port;
    vistrace::ScopeState state = sweepState(kInterval, vistrace::MonotonicCounter::kTicksPerSecond);
    state.sample_count = 1;
    std::vector<double> latencies;
    for (auto _ : bench) {
        port.firstStrobe.reset();
        const auto triggered = std::chrono::steady_clock::now();
        sweeps->readport(state, port, counter, vistrace::SweepTiming{});
        if (!port.firstStrobe) {
            bench.SkipWithError("the sweep never wrote to the port");
            return;
        }
        const std::chrono::duration<double> latency = *port.firstStrobe - triggered;
        bench.SetIterationTime(latency.count());
        latencies.push_back(latency.count());
    }
    std::sort(latencies.begin(), latencies.end());
    bench.counters["median_us"] = latencies[latencies.size() / 2] * 1e6;
    bench.counters["p90_us"] = latencies[latencies.size() * 9 / 10] * 1e6;
    bench.counters["realtime"] =
        bench.range(0) == 1 && realtime.grant() == vistrace::RealtimeGrant::Granted ? 1 : 0;
}
BENCHMARK(BM_TriggerToFirstStrobe)
    ->ArgName("switch")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
