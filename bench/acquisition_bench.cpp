#include "capture.h"
#include "linux_scheduler.h"
#include "monotonic_counter.h"
#include "realtime_sweeps.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int kSamples = 500;

// A port that costs nothing, so that what is measured is the capture's own work.
class NullPort final : public vistrace::PortIo {
public:
    void Out32(std::int16_t /*address*/, int /*value*/) override {}
    std::int16_t Inp32(std::int16_t /*address*/) override { return 0x70; }
};

vistrace::ScopeState sweepState(double interval, std::int64_t counterFrequency) {
    vistrace::ScopeState state;
    state.port_address = 0x378;
    state.sample_count = kSamples;
    state.sample_interval = interval;
    state.counter_frequency = counterFrequency;
    return state;
}

void BM_ReadportNullPort(benchmark::State& bench) {
    NullPort port;
    vistrace::MonotonicCounter counter;
    vistrace::ScopeState state = sweepState(0.0, 0);
    std::chrono::duration<double, std::nano> measured{0};
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        vistrace::readport(state, port, counter);
        measured += std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(state.samples);
    }
    bench.counters["ns_per_sample"] =
        measured.count() / (static_cast<double>(bench.iterations()) * kSamples);
}
BENCHMARK(BM_ReadportNullPort);

// Wall-clock time of whole sweeps against the time the intervals alone add up to.
void BM_ReadportTimed10us(benchmark::State& bench) {
    constexpr double kInterval = 0.00001;
    NullPort port;
    vistrace::MonotonicCounter counter;
    std::int64_t frequency = 0;
    counter.QueryPerformanceFrequency(frequency);
    vistrace::ScopeState state = sweepState(kInterval, frequency);
    double measured = 0.0;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        vistrace::readport(state, port, counter);
        const std::chrono::duration<double> sweep = std::chrono::steady_clock::now() - start;
        bench.SetIterationTime(sweep.count());
        measured += sweep.count();
    }
    bench.counters["period_ratio"] =
        measured / (static_cast<double>(bench.iterations()) * kSamples * kInterval);
}
BENCHMARK(BM_ReadportTimed10us)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr double kTimedInterval = 0.00001;

// What the instrument does between two sweeps (drawing, the event pump) at normal priority.
constexpr auto kBetweenSweeps = std::chrono::milliseconds(5);

// Mean sweep length over the nominal 500 intervals, for sweeps captured as sweeps captures.
double meanSweepRatio(vistrace::SweepPriority& sweeps, vistrace::PerformanceCounter& counter,
                      std::int64_t frequency) {
    constexpr int kSweeps = 100;
    NullPort port;
    vistrace::ScopeState state = sweepState(kTimedInterval, frequency);
    std::chrono::duration<double> total{0};
    for (int i = 0; i < kSweeps; ++i) {
        const auto start = std::chrono::steady_clock::now();
        sweeps.readport(state, port, counter);
        total += std::chrono::steady_clock::now() - start;
        std::this_thread::sleep_for(kBetweenSweeps);
    }
    return total.count() / (kSweeps * kSamples * kTimedInterval);
}

// Sweeps on an idle machine the instrument's way, then against one busy thread per usable
// CPU at normal priority (a parallel compile, say) both the instrument's way and plain.
void BM_TimedSweepUnderLoad(benchmark::State& bench) {
    vistrace::MonotonicCounter counter;
    std::int64_t frequency = 0;
    counter.QueryPerformanceFrequency(frequency);
    vistrace::LinuxScheduler scheduler;
    vistrace::RealtimeSweeps instrument(scheduler, counter, vistrace::readRealtimeLimits());
    vistrace::NormalPriority plain;
    double idle = 0.0;
    double loaded = 0.0;
    double plainLoaded = 0.0;
    for (auto _ : bench) {
        idle = meanSweepRatio(instrument, counter, frequency);
        std::vector<std::jthread> load;
        for (int i = 0; i < scheduler.usableCpus(); ++i) {
            load.emplace_back([](const std::stop_token& stop) {
                while (!stop.stop_requested()) {
                }
            });
        }
        loaded = meanSweepRatio(instrument, counter, frequency);
        plainLoaded = meanSweepRatio(plain, counter, frequency);
    }
    bench.counters["idle_ratio"] = idle;
    bench.counters["loaded_ratio"] = loaded;
    bench.counters["plain_loaded_ratio"] = plainLoaded;
    bench.counters["loaded_excess"] = loaded - idle;
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

// From the trigger wait's return to the first strobe of the sweep: argument 1 with the
// switch to real-time priority (where granted), 0 without it.
void BM_TriggerToFirstStrobe(benchmark::State& bench) {
    vistrace::MonotonicCounter counter;
    std::int64_t frequency = 0;
    counter.QueryPerformanceFrequency(frequency);
    vistrace::LinuxScheduler scheduler;
    vistrace::RealtimeSweeps realtime(scheduler, counter, vistrace::readRealtimeLimits());
    vistrace::NormalPriority plain;
    vistrace::SweepPriority& sweeps =
        bench.range(0) == 1 ? static_cast<vistrace::SweepPriority&>(realtime) : plain;
    StrobeClock port;
    vistrace::ScopeState state = sweepState(kTimedInterval, frequency);
    state.sample_count = 1;
    std::vector<double> latencies;
    for (auto _ : bench) {
        port.firstStrobe.reset();
        const auto triggered = std::chrono::steady_clock::now();
        sweeps.readport(state, port, counter);
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
