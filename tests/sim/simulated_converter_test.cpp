#include "adc.h"
#include "capture.h"
#include "fake_counter.h"
#include "simulated_converter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using Settings = SimulatedConverter::Settings;

struct SimulatedConverterTest : ::testing::Test {
    SimulatedConverterTest() { state.port_address = 0x378; }
    ScopeState state;
    testing::FakeCounter clock{1'000'000'000, 0};
};

TEST_F(SimulatedConverterTest, ConvertsAtTheFallingStartStrobeOnlyAtTheConverterPort) {
    // A ramp of one sample unit per nanosecond walks through every value.
    SimulatedConverter ramp(clock, Settings{0,
                                            [](double seconds) {
                                                return (128.0 - seconds * 1e9) /
                                                       SimulatedConverter::kUnitsPerVolt;
                                            },
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
    EXPECT_NE(first & 0x0F, 0) << "undriven status bits read high, as on a real port";
    // The other ports have nothing attached: their status inputs float high.
    for (const std::int16_t port : std::initializer_list<std::int16_t>{0x278, 0x3BC}) {
        state.port_address = port;
        EXPECT_EQ(oneread(state, ramp), 0) << port;
    }
}

// The converter as the program runs it (5 us per access, a 1 kHz sine of 2 V peak, one unit
// of noise) on a fake clock that both sides read: a sample takes its interval plus six accesses.
TEST_F(SimulatedConverterTest, TimedCaptureSeesTheSinePeriodAndAmplitude) {
    clock.step = 10;
    SimulatedConverter converter(clock, Settings{});
    state.sample_count = 200;
    state.sample_interval = 0.00001;
    state.counter_frequency = clock.frequency;

    readport(state, converter, clock);

    // The voltage rises through 0 V where the value falls through 128.
    std::vector<int> crossings;
    int low = 255;
    int high = 0;
    for (int i = 1; i <= state.sample_count; ++i) {
        low = std::min<int>(low, state.samples[i]);
        high = std::max<int>(high, state.samples[i]);
        if (i > 1 && state.samples[i - 1] > 128 && state.samples[i] <= 128) {
            crossings.push_back(i);
        }
    }
    ASSERT_GE(crossings.size(), 4U);
    const double samplesPerPeriod = static_cast<double>(crossings.back() - crossings.front()) /
                                    static_cast<double>(crossings.size() - 1);
    EXPECT_NEAR(samplesPerPeriod * (state.sample_interval + 6 * 5e-6), 0.001, 0.00002);
    EXPECT_NEAR(high - low, 2 * 51, 3);
    EXPECT_NEAR((high + low) / 2.0, 128.0, 1.5);
}

} // namespace
} // namespace vistrace
