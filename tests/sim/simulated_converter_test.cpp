#include "adc.h"
#include "fakes.h"
#include "simulated_converter.h"

#include <gtest/gtest.h>

namespace vistrace {
namespace {

TEST(SimulatedConverter, ConvertsAtTheFallingStartStrobeOnlyAtTheConverterPort) {
    ScopeState state;
    state.port_address = 0x378;
    testing::FakeCounter clock{1'000'000'000, 0};
    // A ramp of one sample unit per nanosecond walks through every value.
    const auto volts = [](double seconds) {
        return (128.0 - seconds * 1e9) / SimulatedConverter::kUnitsPerVolt;
    };
    SimulatedConverter ramp(clock, {0, {volts, "a ramp"}, 0});
    for (int value = 0; value <= 255; ++value) {
        clock.now = value;
        ASSERT_EQ(oneread(state, ramp), value);
    }
    clock.now = 165;
    ramp.Out32(0x378, 254);
    clock.now = 200;
    ramp.Out32(0x378, 255);
    ramp.Out32(0x378, 253);
    const int first = ramp.Inp32(0x379);
    ramp.Out32(0x378, 255);
    EXPECT_EQ(assembleSample(first, ramp.Inp32(0x379)), 165) << "the conversion is held";
    EXPECT_NE(first & 0x0F, 0) << "undriven status bits read high, as on a real port";
    // The other ports have nothing attached: their status inputs float high.
    for (const std::int16_t port : {std::int16_t{0x278}, std::int16_t{0x3BC}}) {
        state.port_address = port;
        EXPECT_EQ(oneread(state, ramp), 0) << port;
    }
}

} // namespace
} // namespace vistrace
