// How true each time base is to its item on ports of a user's speed, on a quiet machine and on
// one that other programs keep busy.

#include "adc.h"
#include "instrument_tables.h"
#include "median.h"
#include "monotonic_counter.h"
#include "scope_window.h"

#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <csignal>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A port whose every access keeps the caller busy for a set time, as a real one does, and
// which notes when each conversion was started.
class BusyPort final : public vistrace::PortIo {
public:
    explicit BusyPort(std::chrono::nanoseconds access) : access_(access) {}
    void Out32(std::int16_t /*address*/, int value) override {
        if (value == vistrace::kStrobeStart) {
            strobes.push_back(Clock::now());
        }
        spend();
    }
    std::int16_t Inp32(std::int16_t /*address*/) override {
        spend();
        return 0x70;
    }

    std::vector<Clock::time_point> strobes;

private:
    void spend() const {
        const auto end = Clock::now() + access_;
        while (Clock::now() < end) {
        }
    }
    std::chrono::nanoseconds access_;
};

// Sweeps at normal priority, noting the real time per sample of each and the median step from
// one conversion to the next within it, which is what the trace shows between any kinks.
class TimedSweeps final : public vistrace::SweepCapture {
public:
    explicit TimedSweeps(BusyPort& port) : port_(port) {}
    void readport(vistrace::ScopeState& state, vistrace::PortIo& port,
                  vistrace::PerformanceCounter& counter,
                  const vistrace::SweepTiming& timing) override {
        port_.strobes.clear();
        const auto start = Clock::now();
        plain_.readport(state, port, counter, timing);
        const std::chrono::duration<double> length = Clock::now() - start;
        perSample.push_back(length.count() / state.sample_count);
        for (std::size_t i = 1; i < port_.strobes.size(); ++i) {
            steps.push_back(
                std::chrono::duration<double>(port_.strobes[i] - port_.strobes[i - 1]).count());
        }
    }
    std::vector<double> perSample;
    std::vector<double> steps;

private:
    BusyPort& port_;
    vistrace::NormalPriority plain_;
};

// Another program, in a session of its own as one started from a terminal is, with two threads
// per CPU spinning at the sweeps' own priority, for as long as this lives.
class BusyMachine {
public:
    BusyMachine() : child_(fork()) {
        if (child_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // not outliving a benchmark that was killed
            setsid();
            std::vector<std::jthread> threads;
            for (unsigned i = 0; i < 2 * std::max(1U, std::thread::hardware_concurrency()); ++i) {
                threads.emplace_back([] {
                    for (;;) {
                    }
                });
            }
            pause();
            _exit(0);
        }
    }
    ~BusyMachine() {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }
    BusyMachine(const BusyMachine&) = delete;
    BusyMachine& operator=(const BusyMachine&) = delete;

private:
    pid_t child_;
};

// The share of a thread's time that the machine takes for itself while the thread spins, in gaps
// of over a microsecond between readings of the clock: what a sweep's length carries beyond its
// steps, whatever spaces them.
double interruptedShare(Clock::duration span) {
    const auto start = Clock::now();
    auto last = start;
    Clock::duration lost{};
    while (last - start < span) {
        const auto now = Clock::now();
        if (now - last > std::chrono::microseconds(1)) {
            lost += now - last;
        }
        last = now;
    }
    return std::chrono::duration<double>(lost) / std::chrono::duration<double>(last - start);
}

constexpr std::array<const char*, 9> kRowNames{"500us", "1ms",  "2ms",   "5ms",  "10ms",
                                               "20ms",  "50ms", "100ms", "200ms"};

struct Errors {
    double sweep = 0.0;
    double step = 0.0;
    int unreachable = 0;
};

// Each row picked in the list and swept three times by the reset, the port timed and learnt as
// the instrument does it. A row's ratio is its median sweep's time per sample over its period,
// its step ratio the median step between conversions over the same; a row whose samples the
// port alone spaces further than its period is unreachable.
Errors sweepEveryRow(vistrace::ScopeWindow& window, TimedSweeps& sweeps, benchmark::State& bench,
                     const std::string& prefix) {
    constexpr int kSweepsPerRow = 3;
    Errors worst;
    for (std::size_t i = 0; i < vistrace::kTimeBaseRows.size(); ++i) {
        window.TimeBase_box->setCurrentIndex(static_cast<int>(i));
        sweeps.perSample.clear();
        sweeps.steps.clear();
        for (int sweep = 0; sweep < kSweepsPerRow; ++sweep) {
            window.Command1->click();
        }
        const double period = vistrace::kTimeBaseRows.at(i).samplePeriod();
        const double ratio = vistrace::median(sweeps.perSample) / period;
        const double step = vistrace::median(sweeps.steps) / period;
        bench.counters[prefix + "ratio_" + kRowNames.at(i)] = ratio;
        bench.counters[prefix + "step_" + kRowNames.at(i)] = step;
        if (window.state.sample_interval > 0) {
            worst.sweep = std::max(worst.sweep, std::abs(ratio - 1.0));
            worst.step = std::max(worst.step, std::abs(step - 1.0));
        } else {
            ++worst.unreachable;
        }
    }
    return worst;
}

// The argument is the port's time per access in nanoseconds. The loaded run follows the quiet
// one on the same window, so its estimate starts from a quiet machine's and must stay true
// while every sweep is held up. What the quiet machine takes from a spinning thread comes first,
// as the sweep lengths' floor.
void BM_TimeBaseAccuracy(benchmark::State& bench) {
    vistrace::MonotonicCounter counter;
    BusyPort port(std::chrono::nanoseconds(bench.range(0)));
    TimedSweeps sweeps(port);
    vistrace::NothingToBind binder;
    vistrace::ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    for (auto _ : bench) {
        bench.counters["interrupted"] = interruptedShare(std::chrono::seconds(1));
        const Errors idle = sweepEveryRow(window, sweeps, bench, "");
        bench.counters["worst_error"] = idle.sweep;
        bench.counters["step_worst_error"] = idle.step;
        bench.counters["unreachable"] = idle.unreachable;
        const BusyMachine busy;
        const Errors loaded = sweepEveryRow(window, sweeps, bench, "loaded_");
        bench.counters["loaded_worst_error"] = loaded.sweep;
        bench.counters["loaded_step_worst_error"] = loaded.step;
    }
}
BENCHMARK(BM_TimeBaseAccuracy)
    ->ArgName("access_ns")
    ->Arg(1500)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
