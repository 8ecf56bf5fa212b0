#include "measurements.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {

// Every measurement of a 500-sample sweep of a 1 kHz sine at 2mS/Div, 40 us a sample, with the
// converter's rounding: the work --measure does per sweep. Budget: 20 us.
// cppcheck-suppress constParameterCallback ; the signature Google Benchmark calls
void BM_Measure(benchmark::State& bench) {
    vistrace::SweepRecord sweep;
    for (int i = 0; i < 500; ++i) {
        const double seconds = i * 40e-6;
        sweep.seconds.push_back(seconds);
        sweep.samples.push_back(static_cast<std::uint8_t>(
            std::lround(128 - 51 * std::sin(2 * std::numbers::pi * 1000 * seconds))));
    }
    sweep.lengthSeconds = 0.02;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(vistrace::measure(sweep));
    }
}
BENCHMARK(BM_Measure)->Unit(benchmark::kMicrosecond);

} // namespace
