// The Run loop's own cost per pass, and the redraw a scroll-bar notification costs.

#include "monotonic_counter.h"
#include "scope_window.h"
#include "simulated_converter.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {

using vistrace::MonotonicCounter;
using vistrace::NormalPriority;
using vistrace::NothingToBind;
using vistrace::ScopeWindow;
using vistrace::SimulatedConverter;

SimulatedConverter::Settings zeroTimeConverter() {
    SimulatedConverter::Settings settings;
    settings.accessNanoseconds = 0;
    settings.noiseUnits = 0;
    return settings;
}

// Runs passes of the loop in "None" (capture, clear, draw, pump once) for as long as the
// benchmark asks, and reports their rate.
void runPasses(benchmark::State& bench, ScopeWindow& window) {
    for (auto _ : bench) {
        window.readport();
        window.scope->clear();
        window.drawtrace();
        window.pumpEvents();
    }
    bench.counters["passes_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}

// The loop's own cost: 500 samples from a converter that takes no time.
void BM_RunPass(benchmark::State& bench) {
    MonotonicCounter counter;
    SimulatedConverter port(counter, zeroTimeConverter());
    NormalPriority sweeps;
    NothingToBind binder;
    ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    window.state.sample_interval = 0;
    window.state.sample_count = 500;
    runPasses(bench, window);
}
BENCHMARK(BM_RunPass)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The pass as the operator meets it in vistrace-sim after start-up: 500 samples at
// "2mS/Div" on the simulated converter with its 5 microsecond port accesses.
void BM_SimulatedRunPass(benchmark::State& bench) {
    MonotonicCounter counter;
    SimulatedConverter port(counter, SimulatedConverter::Settings{});
    NormalPriority sweeps;
    NothingToBind binder;
    ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    runPasses(bench, window);
}
BENCHMARK(BM_SimulatedRunPass)->Unit(benchmark::kMillisecond)->UseRealTime();

// One XOffset change handled: the handler clears and draws the stored 500-sample sweep.
void BM_OffsetRedraw(benchmark::State& bench) {
    MonotonicCounter counter;
    SimulatedConverter port(counter, zeroTimeConverter());
    NormalPriority sweeps;
    NothingToBind binder;
    ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    window.readport();
    int position = 0;
    for (auto _ : bench) {
        position = position == 0 ? 1 : 0;
        window.XOffset->setValue(position);
    }
    bench.counters["ms_per_redraw"] =
        benchmark::Counter(static_cast<double>(bench.iterations()) / 1e3,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OffsetRedraw)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
