#include "measurements.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace vistrace::testing {
namespace {

// A signal in volts at a time in seconds, read as the converter would: 25.5 units a volt
// below 128, clipped to its range.
using Signal = std::function<double(double)>;

std::uint8_t converted(double volts) {
    return static_cast<std::uint8_t>(std::clamp(std::round(128.0 - volts * 25.5), 0.0, 255.0));
}

SweepRecord sampled(const Signal& signal, const std::vector<double>& times) {
    SweepRecord sweep;
    sweep.seconds = times;
    sweep.samples.reserve(times.size());
    for (const double when : times) {
        sweep.samples.push_back(converted(signal(when)));
    }
    sweep.lengthSeconds = times.back();
    return sweep;
}

std::vector<double> evenTimes(int count, double step) {
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        times.push_back(i * step);
    }
    return times;
}

double phase(double when, double hertz) {
    return when * hertz - std::floor(when * hertz);
}

TEST(Measurements, OfGeneratedSweepsWithKnownAnswers) {
    const Signal sine = [](double when) {
        return 2.0 * std::sin(2 * std::numbers::pi * 1000 * when);
    };
    const Signal square = [](double when) { return phase(when, 500) < 0.25 ? 3.0 : -1.0; };
    const Signal triangle = [](double when) {
        return 4.0 * std::abs(phase(when, 200) - 0.5) - 1.0;
    };
    const Signal clipped = [](double when) { return phase(when, 500) < 0.5 ? 9.0 : -9.0; };
    std::vector<double> uneven(1, 0.0); // each step 20 to 60 us, none alike
    uneven.reserve(250);
    for (int i = 1; i < 250; ++i) {
        uneven.push_back(uneven.back() + 20e-6 + 40e-6 * phase(i * 0.618, 1));
    }
    std::vector<double> heldUp = evenTimes(250, 40e-6); // 7.3 ms lost after sample 100
    for (std::size_t i = 100; i < heldUp.size(); ++i) {
        heldUp[i] += 7.3e-3;
    }
    struct Case {
        const char* name;
        Signal signal;
        std::vector<double> times;
        double peakToPeak, mean, rms, hertz, duty; // 0 hertz: missing says why
        const char* missing;
        bool clipped;
    };
    const std::vector<Case> cases{
        {"sine", sine, evenTimes(250, 40e-6), 4.0, 0.0, std::sqrt(2.0), 1000, 0.5, "", false},
        {"sine ending half-way through a period", sine, evenTimes(262, 40e-6), 4.0, 0.0,
         std::sqrt(2.0), 1000, 0.5, "", false},
        {"square at 25 %", square, evenTimes(500, 40e-6), 4.0, 0.0, std::sqrt(3.0), 500, 0.25, "",
         false},
        {"triangle", triangle, evenTimes(500, 100e-6), 2.0, 0.0, 1 / std::sqrt(3.0), 200, 0.5, "",
         false},
        {"clipped at 0 and 255", clipped, evenTimes(250, 40e-6), 255 / 25.5, 0.0, 5.0, 500, 0.5, "",
         true},
        {"uneven times", sine, uneven, 4.0, 0.0, std::sqrt(2.0), 1000, 0.5, "", false},
        {"held up mid-sweep", sine, heldUp, 4.0, 0.0, std::sqrt(2.0), 1000, 0.5, "", false},
        {"steady", [](double) { return 0.04; }, evenTimes(500, 40e-6), 0.0, 0.04, 0.04, 0, 0,
         "input steady", false},
        {"fewer than two periods", sine, evenTimes(25, 40e-6), 4.0, 0.0, std::sqrt(2.0), 0, 0,
         "fewer than two periods", false},
    };
    for (const Case& given : cases) {
        SCOPED_TRACE(given.name);
        const Measurements measured = measure(sampled(given.signal, given.times));
        EXPECT_NEAR(measured.peakToPeak, given.peakToPeak, 0.08);
        EXPECT_NEAR(measured.maximum - measured.minimum, measured.peakToPeak, 1e-12);
        EXPECT_NEAR(measured.mean, given.mean, 0.025);
        EXPECT_NEAR(measured.rms, given.rms, 0.05);
        EXPECT_EQ(measured.clipped, given.clipped);
        if (given.hertz == 0) {
            EXPECT_FALSE(measured.frequency.value);
            EXPECT_TRUE(measured.frequency.missing.starts_with(given.missing))
                << measured.frequency.missing;
            EXPECT_EQ(measured.duty.missing, measured.frequency.missing);
            continue;
        }
        ASSERT_TRUE(measured.frequency.value && measured.period.value && measured.duty.value);
        EXPECT_NEAR(*measured.frequency.value, given.hertz, given.hertz * 0.005);
        EXPECT_NEAR(*measured.period.value * given.hertz, 1.0, 0.005);
        EXPECT_NEAR(*measured.duty.value, given.duty, 0.03);
    }
    const Measurements evenly = measure(sampled(sine, evenTimes(250, 40e-6)));
    EXPECT_NEAR(evenly.medianSpacing.value.value_or(0), 40e-6, 1e-12);
}

// The times a sweep keeps: its own counter readings where it read the clock per sample, else
// its measured length spread evenly.
TEST(Measurements, SweepTimesFromTheCounterOrSpreadEvenly) {
    ScopeState state;
    state.sample_count = 4;
    state.counter_frequency = 1'000'000;
    for (const auto& [i, start] : {std::pair{1, 1000}, {2, 1040}, {3, 1090}, {4, 1130}}) {
        state.sample_starts[i] = start;
        state.samples[i] = static_cast<std::uint8_t>(100 + i);
    }
    for (const auto& [interval, spread, times] :
         {std::tuple{1e-5, false, std::vector{0.0, 40e-6, 90e-6, 130e-6}},
          {0.0, true, std::vector{0.0, 5e-5, 1e-4, 1.5e-4}}}) {
        state.sample_interval = interval;
        const SweepRecord sweep = recordSweep(state, 2e-4);
        EXPECT_EQ(sweep.spread, spread);
        EXPECT_EQ(sweep.samples, (std::vector<std::uint8_t>{101, 102, 103, 104}));
        EXPECT_TRUE(std::ranges::equal(sweep.seconds, times,
                                       [](double a, double b) { return std::abs(a - b) < 1e-12; }));
    }
}

} // namespace
} // namespace vistrace::testing
