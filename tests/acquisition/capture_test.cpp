#include "adc.h"
#include "capture.h"
#include "errors.h"
#include "fakes.h"

#include <gtest/gtest.h>
#include <vector>

namespace vistrace::testing {
namespace {

// The status reading while the converter drives each pin with a bit of half, complemented: bit 7
// reads inverted, and bits 0 to 3 are the unused lines.
std::int16_t statusShowing(int half, int unusedBits) {
    return static_cast<std::int16_t>((((~half & 0x0F) ^ 0x08) << 4) | (unusedBits & 0x0F));
}

struct CaptureTest : ::testing::Test {
    CaptureTest() {
        state.port_address = 0x378;
        for (int i = 0; i <= SampleBuffer::kLastIndex; ++i) {
            state.samples[i] = static_cast<std::uint8_t>(i * 7);
            state.sample_starts[i] = -i;
        }
        previous = state;
    }
    ScopeState state, previous;
    ScriptedPort port;
    // cppcheck-suppress unusedStructMember ; cppcheck 2.17 misses the uses in the TEST_F bodies
    FakeCounter counter{1'000'000, 1};
};

// Each sample bit is its pin's complement whatever status bits 0 to 3 show; only the second
// reading must fit a byte. At port 32767 the status address overflows after the three strobes.
TEST_F(CaptureTest, OneReadIsFourWritesAndTwoReads) {
    for (const int unused : {0x0, 0xF, 0x5, 0xA}) {
        for (int sample = 0; sample <= 255; ++sample) {
            port.queueReadings(
                {statusShowing(sample & 0x0F, unused), statusShowing(sample >> 4, unused ^ 0xF)});
            ASSERT_EQ(oneread(state, port), sample) << "unused status bits " << unused;
        }
    }
    port.accesses.clear();
    port.queueReadings({0x170, 0xF0, 0x70, 256, 0x70, -1});
    EXPECT_EQ(oneread(state, port), 128);
    EXPECT_EQ(port.accesses, (std::vector{write(888, 254), write(888, 255), write(888, 253),
                                          read(889, 0x170), write(888, 255), read(889, 0xF0)}));
    EXPECT_THROW(oneread(state, port), OverflowError);
    EXPECT_THROW(oneread(state, port), OverflowError);
    port.accesses.clear();
    state.port_address = 32767;
    EXPECT_THROW(oneread(state, port), OverflowError);
    EXPECT_EQ(port.accesses,
              (std::vector{write(32767, 254), write(32767, 255), write(32767, 253)}));
}

// Each sample waits afresh after its strobes; a zero interval reads no counter, keeping the timing
// fields of the last timed sweep.
TEST_F(CaptureTest, EachSampleWaitsAfreshBetweenItsStrobesAndItsFirstReading) {
    SampleBuffer expected = previous.samples;
    expected[1] = 8;
    expected[2] = 255;
    std::vector<int> counterReadingsAtRead;
    port.beforeAccess = [&](const PortAccess& access) {
        if (access.kind == PortAccess::Kind::Read) {
            counterReadingsAtRead.push_back(counter.readings);
        }
    };
    // frequency, ticks per counter reading, interval, readings per sample, elapsed
    // clang-format off
    for (const auto& [frequency, step, interval, n, elapsed] : {std::tuple{1000, 1, 0.005, 6, 0.005},
             {0, 1, 0.0, 0, 0.005}, {1000, 3, 0.005, 3, 0.006}, {1'000'000, 1, 1e-12, 2, 1e-6}}) { // clang-format on
        counter = FakeCounter(frequency, step);
        counterReadingsAtRead.clear();
        port.queueSamples({8, 255});
        state.counter_frequency = frequency;
        state.sample_interval = interval;
        state.sample_count = 2;
        const auto counts = std::pair(state.count_start, state.count_now);
        readport(state, port, counter);
        EXPECT_EQ(counterReadingsAtRead, (std::vector{n, n, 2 * n, 2 * n}));
        EXPECT_DOUBLE_EQ(state.elapsed, elapsed) << "interval " << interval;
        EXPECT_TRUE(n != 0 || counts == std::pair(state.count_start, state.count_now));
        EXPECT_EQ(state.samples, expected) << "only elements 1 and 2 change";
        // Each wait begins n readings after the last; a sweep that reads none keeps none.
        EXPECT_EQ(std::tuple(state.sample_starts[2] - state.sample_starts[1],
                             state.sample_starts[1] == 0, state.sample_starts[3]),
                  std::tuple(std::int64_t{n} * step, n == 0, std::int64_t{-3}));
    }
}

// A sweep that fails part-way leaves the previous one whole; 801 samples fail at sample 801's
// first reading, after its wait. Rows: accesses up to the failing one, then counter readings.
TEST_F(CaptureTest, FailureInTheAcquisitionPassKeepsThePreviousSweep) {
    // clang-format off
    for (const auto& [address, count, interval, frequency, readings, accesses, counterReadings] :
         {std::tuple{0x378, 801, 1e-6, 1'000'000, std::vector<std::int16_t>{}, 800 * 6 + 4, 801 * 2},
          {32767, 5, 0.0, 0, {}, 3, 0}, {0x378, 500, 1e-5, 0, {}, 3, 2}, {0x378, 10, 0.0, 0, {0x70, -1}, 6, 0},
          {0x378, 10, 0.0, 0, {0x70, 0xF0, 0x70, 0xF0, 256}, 16, 0}}) { // clang-format on
        SCOPED_TRACE(count);
        state.port_address = static_cast<std::int16_t>(address);
        state.sample_count = static_cast<std::int16_t>(count);
        state.sample_interval = interval;
        state.counter_frequency = frequency;
        counter = FakeCounter(frequency, 1);
        port = ScriptedPort();
        port.queueReadings(readings);
        EXPECT_THROW(readport(state, port, counter), VistraceError);
        EXPECT_TRUE(state.samples == previous.samples &&
                    state.sample_starts == previous.sample_starts);
        EXPECT_EQ(std::pair(port.accesses.size(), counter.readings),
                  std::pair(static_cast<std::size_t>(accesses), counterReadings));
    }
}

} // namespace
} // namespace vistrace::testing
