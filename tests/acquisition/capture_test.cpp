#include "adc.h"
#include "capture.h"
#include "errors.h"
#include "fake_counter.h"
#include "scripted_port.h"

#include <array>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vistrace {
namespace {

// The status reading a real port gives while the converter presents one 4-bit half: the
// converter drives each pin with the complement of its bit, the port reads status bit 7 as
// the complement of its pin, and bits 0 to 3 are whatever the unused lines show.
std::int16_t statusShowing(int half, int unusedBits) {
    return static_cast<std::int16_t>((((~half & 0x0F) ^ 0x08) << 4) | (unusedBits & 0x0F));
}

std::vector<testing::PortAccess>
readTraffic(const std::vector<std::pair<std::int16_t, std::int16_t>>& readings) {
    std::vector<testing::PortAccess> traffic;
    for (const auto& [first, second] : readings) {
        traffic.insert(traffic.end(), {testing::write(0x378, 254), testing::write(0x378, 255),
                                       testing::write(0x378, 253), testing::read(0x379, first),
                                       testing::write(0x378, 255), testing::read(0x379, second)});
    }
    return traffic;
}

struct CaptureTest : ::testing::Test {
    CaptureTest() {
        state.port_address = 0x378;
        for (int i = 0; i <= SampleBuffer::kLastIndex; ++i) {
            state.samples[i] = static_cast<std::uint8_t>(i * 7);
        }
        previous = state.samples;
    }
    ScopeState state;
    SampleBuffer previous;
    testing::ScriptedPort port;
    testing::FakeCounter counter{1'000'000, 1};
};
using AdcTest = CaptureTest;

TEST_F(AdcTest, EverySampleBitIsTheComplementOfItsPinWhateverStatusBits0To3Show) {
    for (const int unused : {0x0, 0xF, 0x5, 0xA}) {
        for (int sample = 0; sample <= 255; ++sample) {
            port.queueReadings(
                {statusShowing(sample & 0x0F, unused), statusShowing(sample >> 4, unused ^ 0xF)});
            ASSERT_EQ(oneread(state, port), sample) << "unused status bits " << unused;
        }
    }
}

TEST_F(AdcTest, OneReadIsFourWritesAndTwoReadsOfWhichOnlyTheSecondMustFitAByte) {
    port.queueReadings({0xF8, 0x78, 0x170, 0xF0});
    EXPECT_EQ(oneread(state, port), 8);
    EXPECT_EQ(port.accesses(), readTraffic({{0xF8, 0x78}}));
    EXPECT_EQ(oneread(state, port), 128);
    port.queueReadings({0x70, 256, 0x70, -1});
    EXPECT_THROW(oneread(state, port), OverflowError);
    EXPECT_THROW(oneread(state, port), OverflowError);
}

// A zero interval means no wait at all: the counter, which has no frequency then, is not read.
TEST_F(CaptureTest, EachSampleWaitsAfreshBetweenItsStrobesAndItsFirstReading) {
    struct Case {
        std::int64_t frequency, step;
        double interval;
        int readingsPerSample;
        double elapsed;
    };
    SampleBuffer expected = previous;
    expected[1] = 8;
    expected[2] = 255;
    std::vector<int> counterReadingsAtAccess;
    port.beforeAccess = [&](const auto&) { counterReadingsAtAccess.push_back(counter.readings); };
    for (const Case row : {Case{0, 1, 0.0, 0, 0.0}, Case{1000, 1, 0.005, 6, 0.005},
                           Case{1000, 3, 0.005, 3, 0.006}, Case{1'000'000, 1, 1e-12, 2, 1e-6}}) {
        counter = testing::FakeCounter(row.frequency, row.step);
        counterReadingsAtAccess.clear();
        port.clearAccesses();
        port.queueReadings({0xF8, 0x78, 0x80, 0x80});
        state.counter_frequency = row.frequency;
        state.sample_interval = row.interval;
        state.sample_count = 2;
        readport(state, port, counter);
        const int perSample = row.readingsPerSample;
        EXPECT_EQ(port.accesses(), readTraffic({{0xF8, 0x78}, {0x80, 0x80}}));
        EXPECT_EQ(counterReadingsAtAccess,
                  (std::vector<int>{0, 0, 0, perSample, perSample, perSample, perSample, perSample,
                                    perSample, 2 * perSample, 2 * perSample, 2 * perSample}));
        EXPECT_DOUBLE_EQ(state.elapsed, row.elapsed) << "interval " << row.interval;
        EXPECT_EQ(state.samples, expected) << "only elements 1 and 2 change";
    }
}

TEST_F(CaptureTest, FailureInTheAcquisitionPassKeepsThePreviousSweep) {
    struct Case {
        std::int16_t address, count;
        double interval;
        std::int64_t counterStep;
        std::initializer_list<std::int16_t> readings;
        std::string message;
        std::size_t accesses; // up to and including the one that fails
    };
    // Initialised in place: each case's readings list lives as long as the table.
    const std::array<Case, 6> cases{{
        {0x378, 801, 0, 0, {}, "Subscript out of range", 800 * 6 + 4},
        {32767, 5, 0, 0, {}, "Overflow", 3},
        {0x378, 500, 1e-5, 1, {}, "Division by zero", 3},
        {0x378, 500, 1e-5, 0, {}, "Invalid floating-point operation (0 divided by 0)", 3},
        {0x378, 10, 0, 0, {0x70, 0xF0, 0x70, 0xF0, 256}, "Overflow", 16},
        {0x378, 10, 0, 0, {0x70, -1}, "Overflow", 6},
    }};
    for (const Case& row : cases) {
        SCOPED_TRACE(::testing::Message() << row.message << ", sample_count " << row.count);
        state.port_address = row.address;
        state.sample_count = row.count;
        state.sample_interval = row.interval;
        counter = testing::FakeCounter(0, row.counterStep);
        port.clearAccesses();
        port.queueReadings(row.readings);
        EXPECT_THAT([&] { readport(state, port, counter); },
                    ::testing::ThrowsMessage<VistraceError>(::testing::StrEq(row.message)));
        EXPECT_EQ(state.samples, previous);
        EXPECT_EQ(port.accesses().size(), row.accesses);
    }
}

} // namespace
} // namespace vistrace
