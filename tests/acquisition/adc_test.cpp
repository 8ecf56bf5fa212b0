#include "adc.h"
#include "converter_pins.h"
#include "errors.h"
#include "scripted_port.h"

#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using testing::PortAccess;
using testing::ScriptedPort;
using testing::statusShowing;

struct AdcTest : ::testing::Test {
    AdcTest() { state.port_address = 0x378; }
    ScopeState state;
    ScriptedPort port;
};

TEST_F(AdcTest, EverySampleBitIsTheComplementOfItsPinWhateverStatusBits0To3Show) {
    for (const int unused : {0x0, 0xF, 0x5, 0xA}) {
        for (int sample = 0; sample <= 255; ++sample) {
            port.queueReadings(
                {statusShowing(sample & 0x0F, unused), statusShowing(sample >> 4, unused ^ 0xF)});
            ASSERT_EQ(oneread(state, port), sample) << "unused status bits " << unused;
        }
    }
}

TEST_F(AdcTest, KnownReadingPairs) {
    struct Case {
        std::int16_t first, second;
        int sample;
    };
    for (const Case c : {Case{0x70, 0xF0, 128}, Case{0x00, 0x00, 119}, Case{0xF0, 0xF0, 136},
                         Case{0x80, 0x80, 255}, Case{0x70, 0x70, 0}, Case{0xF8, 0x78, 8},
                         Case{0x8F, 0x8F, 255}, Case{0x0F, 0x0F, 119}}) {
        port.queueReadings({c.first, c.second});
        EXPECT_EQ(oneread(state, port), c.sample) << std::hex << c.first << ", " << c.second;
    }
}

TEST_F(AdcTest, OneReadMakesFourWritesAndTwoReadsInProtocolOrder) {
    port.queueReadings({0x70, 0xF0});
    oneread(state, port);
    const std::vector<PortAccess> expected = {
        testing::write(0x378, 254), testing::write(0x378, 255), testing::write(0x378, 253),
        testing::read(0x379, 0x70), testing::write(0x378, 255), testing::read(0x379, 0xF0)};
    EXPECT_EQ(port.accesses(), expected);
}

TEST_F(AdcTest, OnlyTheSecondReadingIsRangeTested) {
    port.queueReadings({0x170, 0xF0});
    EXPECT_EQ(oneread(state, port), 128);

    port.queueReadings({0x70, 256});
    EXPECT_THROW(oneread(state, port), OverflowError);
    port.queueReadings({0x70, -1});
    EXPECT_THROW(oneread(state, port), OverflowError);
}

TEST_F(AdcTest, StatusAddressOverflowComesAfterTheThreeStrobesAndBeforeAnyReading) {
    state.port_address = 32767;
    EXPECT_THROW(oneread(state, port), OverflowError);
    const std::vector<PortAccess> expected = {
        testing::write(32767, 254), testing::write(32767, 255), testing::write(32767, 253)};
    EXPECT_EQ(port.accesses(), expected);
}

} // namespace
} // namespace vistrace
