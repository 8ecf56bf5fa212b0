#include "capture.h"
#include "monotonic_counter.h"
#include "null_port.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

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

} // namespace
