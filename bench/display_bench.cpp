#include "scope_screen.h"
#include "scope_state.h"
#include "trace.h"

#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

namespace {

// What every Run pass and every scroll notification during a drag costs: clearing the screen
// and drawing a full 500-sample sweep at 2mS/Div (step 1, pen width 3) into the run-time layer.
void BM_ClearAndDrawTrace(benchmark::State& run) {
    vistrace::ScopeState state;
    state.sample_count = 500;
    state.x_step = 1;
    state.trace_width = 3;
    state.volts_gain = vistrace::FixedDecimal::fromTenThousandths(9000);
    for (int i = 1; i <= 500; ++i) {
        state.samples[i] = static_cast<std::uint8_t>(128.0 + 100.0 * std::sin(i / 20.0));
    }
    vistrace::ScopeScreen screen;
    QScrollBar xOffset(Qt::Horizontal);
    xOffset.setRange(-500, 500);
    xOffset.setValue(0);
    QScrollBar yOffset(Qt::Vertical);
    yOffset.setRange(1, 420);
    yOffset.setValue(212);

    const auto start = std::chrono::steady_clock::now();
    for (auto _ : run) {
        screen.clear();
        vistrace::drawTrace(state, screen, xOffset, yOffset);
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    // Reading the layer finishes the drawing, so the last sweep is complete and checked.
    const QImage layer = screen.runtimeLayer();
    int drawnInCentreColumn = 0;
    for (int y = 0; y < layer.height(); ++y) {
        drawnInCentreColumn += qAlpha(layer.pixel(251, y)) != 0 ? 1 : 0;
    }
    if (drawnInCentreColumn == 0) {
        run.SkipWithError("the sweep was not drawn");
    }
    run.counters["ms_per_draw"] =
        benchmark::Counter(elapsed.count(), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClearAndDrawTrace)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
