#include "adc.h"
#include "capture.h"
#include "fake_counter.h"
#include "simulated_converter.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using testing::FakeCounter;
using Settings = SimulatedConverter::Settings;

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

// Shows the converter the time of another counter without moving it, so that only the
// capture's own readings make time pass.
class PeekingClock final : public PerformanceCounter {
public:
    explicit PeekingClock(const FakeCounter& source) : source_(source) {}
    std::int32_t QueryPerformanceFrequency(std::int64_t& frequency) override {
        frequency = source_.frequency;
        return 1;
    }
    std::int32_t QueryPerformanceCounter(std::int64_t& count) override {
        count = source_.now;
        return 1;
    }

private:
    const FakeCounter& source_;
};

struct SimulatedConverterTest : ::testing::Test {
    SimulatedConverterTest() { state.port_address = 0x378; }
    ScopeState state;
    FakeCounter clock{kNanosecondsPerSecond, 0};
};

TEST_F(SimulatedConverterTest, OneReadReturnsTheInputAtTheStartStrobe) {
    const auto sine = SimulatedConverter::sine(2.0, 1000.0);
    SimulatedConverter converter(clock, Settings{0, sine, 0});
    for (std::int64_t ns = 0; ns < 1'000'000; ns += 7'919) {
        clock.now = ns;
        const double volts = sine(static_cast<double>(ns) / kNanosecondsPerSecond);
        ASSERT_EQ(oneread(state, converter), SimulatedConverter::sampleFor(volts)) << ns << " ns";
    }

    // A ramp of one sample unit per nanosecond walks through every value.
    SimulatedConverter ramp(
        clock,
        Settings{0, [](double s) { return (128.0 - s * 1e9) / SimulatedConverter::kUnitsPerVolt; },
                 0});
    for (int value = 0; value <= 255; ++value) {
        clock.now = value;
        ASSERT_EQ(oneread(state, ramp), value);
    }
    clock.now = 10;
    ramp.Out32(0x378, 254);
    clock.now = 200;
    ramp.Out32(0x378, 255);
    ramp.Out32(0x378, 253);
    const int first = ramp.Inp32(0x379);
    ramp.Out32(0x378, 255);
    EXPECT_EQ(assembleSample(first, ramp.Inp32(0x379)), 10) << "the conversion is held";
}

TEST_F(SimulatedConverterTest, UnusedStatusBitsAreNotZero) {
    SimulatedConverter converter(clock, Settings{0, SimulatedConverter::sine(2.0, 1000.0), 0});
    for (const int select : {253, 255}) {
        converter.Out32(0x378, select);
        EXPECT_NE(converter.Inp32(0x379) & 0x0F, 0) << "data " << select;
    }
}

TEST_F(SimulatedConverterTest, OtherPortsHaveNothingAttached) {
    SimulatedConverter converter(clock, Settings{0, [](double) { return 1.0; }, 0});
    for (const std::int16_t port : std::initializer_list<std::int16_t>{0x278, 0x3BC}) {
        state.port_address = port;
        EXPECT_EQ(converter.Inp32(static_cast<std::int16_t>(port + 1)) & 0xF8, 0x78)
            << "pins float high, status bit 7 reads inverted";
        EXPECT_EQ(oneread(state, converter), 0);
    }
}

TEST_F(SimulatedConverterTest, EveryAccessTakesItsTime) {
    clock.step = 1'000;
    SimulatedConverter converter(clock, Settings{});
    const std::int64_t before = clock.now;
    oneread(state, converter);
    EXPECT_GE(clock.now - before, 6 * 5'000);
}

TEST_F(SimulatedConverterTest, NoiseStaysWithinOneUnit) {
    SimulatedConverter converter(clock, Settings{0, [](double) { return 0.0; }, 1});
    std::vector<int> seen;
    for (int i = 0; i < 1000; ++i) {
        seen.push_back(oneread(state, converter));
    }
    const auto [low, high] = std::ranges::minmax(seen);
    EXPECT_GE(low, 127);
    EXPECT_LE(high, 129);
    EXPECT_LT(low, high) << "noise is present";
}

TEST_F(SimulatedConverterTest, TimedCaptureSeesTheSinePeriodAndAmplitude) {
    FakeCounter counter(kNanosecondsPerSecond, 100);
    PeekingClock converterClock(counter);
    SimulatedConverter converter(converterClock,
                                 Settings{0, SimulatedConverter::sine(2.0, 1000.0), 0});
    state.sample_count = 500;
    state.sample_interval = 0.00001;
    state.counter_frequency = counter.frequency;

    readport(state, converter, counter);

    // The voltage rises through 0 V where the value falls through 128.
    std::vector<int> crossings;
    int low = 255;
    int high = 0;
    for (int i = 1; i <= 500; ++i) {
        low = std::min<int>(low, state.samples[i]);
        high = std::max<int>(high, state.samples[i]);
        if (i > 1 && state.samples[i - 1] > 128 && state.samples[i] <= 128) {
            crossings.push_back(i);
        }
    }
    ASSERT_GE(crossings.size(), 4u);
    const double samplesPerPeriod = static_cast<double>(crossings.back() - crossings.front()) /
                                    static_cast<double>(crossings.size() - 1);
    EXPECT_NEAR(samplesPerPeriod * state.sample_interval, 0.001, 0.00002);
    EXPECT_NEAR(high - low, 2 * 51, 2);
    EXPECT_NEAR((high + low) / 2.0, 128.0, 1.0);
}

} // namespace
} // namespace vistrace
