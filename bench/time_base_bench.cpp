// How true each time base is to its item on ports of a user's speed.

#include "instrument_tables.h"
#include "monotonic_counter.h"
#include "scope_window.h"

#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A port whose every access keeps the caller busy for a set time, as a real one does.
class BusyPort final : public vistrace::PortIo {
public:
    explicit BusyPort(std::chrono::nanoseconds access) : access_(access) {}
    void Out32(std::int16_t /*address*/, int /*value*/) override { spend(); }
    std::int16_t Inp32(std::int16_t /*address*/) override {
        spend();
        return 0x70;
    }

private:
    void spend() const {
        const auto end = Clock::now() + access_;
        while (Clock::now() < end) {
        }
    }
    std::chrono::nanoseconds access_;
};

// Sweeps at normal priority, noting the real time per sample of each.
class TimedSweeps final : public vistrace::SweepCapture {
public:
    void readport(vistrace::ScopeState& state, vistrace::PortIo& port,
                  vistrace::PerformanceCounter& counter,
                  const vistrace::SweepTiming& timing) override {
        const auto start = Clock::now();
        plain_.readport(state, port, counter, timing);
        const std::chrono::duration<double> length = Clock::now() - start;
        perSample.push_back(length.count() / state.sample_count);
    }
    std::vector<double> perSample;

private:
    vistrace::NormalPriority plain_;
};

constexpr std::array<const char*, 9> kCounterNames{"ratio_500us", "ratio_1ms",   "ratio_2ms",
                                                   "ratio_5ms",   "ratio_10ms",  "ratio_20ms",
                                                   "ratio_50ms",  "ratio_100ms", "ratio_200ms"};

// Each row picked in the list and swept three times by the reset, the port timed and learnt
// as the instrument does it; a row's ratio is its median sweep's time per sample over its
// period. The argument is the port's time per access in nanoseconds.
void BM_TimeBaseAccuracy(benchmark::State& bench) {
    constexpr int kSweepsPerRow = 3;
    vistrace::MonotonicCounter counter;
    BusyPort port(std::chrono::nanoseconds(bench.range(0)));
    TimedSweeps sweeps;
    vistrace::NothingToBind binder;
    vistrace::ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    double worst = 0.0;
    int unreachable = 0;
    for (auto _ : bench) {
        for (std::size_t i = 0; i < vistrace::kTimeBaseRows.size(); ++i) {
            window.TimeBase_box->setCurrentIndex(static_cast<int>(i));
            sweeps.perSample.clear();
            for (int sweep = 0; sweep < kSweepsPerRow; ++sweep) {
                window.Command1->click();
            }
            std::ranges::sort(sweeps.perSample);
            const double ratio =
                sweeps.perSample[kSweepsPerRow / 2] / vistrace::kTimeBaseRows.at(i).samplePeriod();
            bench.counters[kCounterNames.at(i)] = ratio;
            if (window.state.sample_interval > 0) {
                worst = std::max(worst, std::abs(ratio - 1.0));
            } else {
                ++unreachable;
            }
        }
    }
    bench.counters["worst_error"] = worst;
    bench.counters["unreachable"] = unreachable;
}
BENCHMARK(BM_TimeBaseAccuracy)
    ->ArgName("access_ns")
    ->Arg(1500)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
