#include "adc.h"
#include "capture.h"
#include "errors.h"
#include "fake_counter.h"
#include "scripted_port.h"

#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using testing::read;
using testing::write;

// The status reading a real port gives while the converter presents one 4-bit half: the
// converter drives each pin with the complement of its bit, the port reads status bit 7 as
// the complement of its pin, and bits 0 to 3 are whatever the unused lines show.
std::int16_t statusShowing(int half, int unusedBits) {
    return static_cast<std::int16_t>((((~half & 0x0F) ^ 0x08) << 4) | (unusedBits & 0x0F));
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

TEST_F(CaptureTest, EverySampleBitIsTheComplementOfItsPinWhateverStatusBits0To3Show) {
    for (const int unused : {0x0, 0xF, 0x5, 0xA}) {
        for (int sample = 0; sample <= 255; ++sample) {
            port.queueReadings(
                {statusShowing(sample & 0x0F, unused), statusShowing(sample >> 4, unused ^ 0xF)});
            ASSERT_EQ(oneread(state, port), sample) << "unused status bits " << unused;
        }
    }
}

// Only the second reading must fit a byte. At port 32767 the status address overflows once
// the three strobes are written, before anything is read.
TEST_F(CaptureTest, OneReadIsFourWritesAndTwoReads) {
    port.queueReadings({0x170, 0xF0, 0x70, 256, 0x70, -1});
    EXPECT_EQ(oneread(state, port), 128);
    EXPECT_EQ(port.accesses(), (std::vector{write(888, 254), write(888, 255), write(888, 253),
                                            read(889, 0x170), write(888, 255), read(889, 0xF0)}));
    EXPECT_THROW(oneread(state, port), OverflowError);
    EXPECT_THROW(oneread(state, port), OverflowError);
    port.clearAccesses();
    state.port_address = 32767;
    EXPECT_THROW(oneread(state, port), OverflowError);
    EXPECT_EQ(port.accesses(),
              (std::vector{write(32767, 254), write(32767, 255), write(32767, 253)}));
}

// Each sample waits afresh between its strobes and its first reading; a zero interval reads
// no counter and leaves the timing fields as the last timed sweep left them.
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
    std::vector<int> counterReadingsAtRead;
    port.beforeAccess = [&](const testing::PortAccess& access) {
        if (access.kind == testing::PortAccess::Kind::Read) {
            counterReadingsAtRead.push_back(counter.readings);
        }
    };
    for (const Case row : {Case{1000, 1, 0.005, 6, 0.005}, Case{0, 1, 0.0, 0, 0.005},
                           Case{1000, 3, 0.005, 3, 0.006}, Case{1'000'000, 1, 1e-12, 2, 1e-6}}) {
        counter = testing::FakeCounter(row.frequency, row.step);
        counterReadingsAtRead.clear();
        port.queueSamples({8, 255});
        state.counter_frequency = row.frequency;
        state.sample_interval = row.interval;
        state.sample_count = 2;
        const ScopeState before = state;
        readport(state, port, counter);
        const int n = row.readingsPerSample;
        EXPECT_EQ(counterReadingsAtRead, (std::vector{n, n, 2 * n, 2 * n}));
        EXPECT_DOUBLE_EQ(state.elapsed, row.elapsed) << "interval " << row.interval;
        if (n == 0) {
            EXPECT_EQ(std::pair(state.count_start, state.count_now),
                      std::pair(before.count_start, before.count_now));
        }
        EXPECT_EQ(state.samples, expected) << "only elements 1 and 2 change";
    }
}

// A sweep that fails part-way leaves the previous one whole. 801 samples fail at the first
// reading of sample 801, after its wait.
TEST_F(CaptureTest, FailureInTheAcquisitionPassKeepsThePreviousSweep) {
    struct Case {
        std::int16_t address, count;
        double interval;
        std::int64_t frequency;
        std::vector<std::int16_t> readings;
        std::size_t accesses; // up to the failing one
        int counterReadings;
    };
    for (const Case& row :
         std::vector<Case>{{0x378, 801, 1e-6, 1'000'000, {}, 800 * 6 + 4, 801 * 2},
                           {32767, 5, 0, 0, {}, 3, 0},
                           {0x378, 500, 1e-5, 0, {}, 3, 2},
                           {0x378, 10, 0, 0, {0x70, 0xF0, 0x70, 0xF0, 256}, 16, 0},
                           {0x378, 10, 0, 0, {0x70, -1}, 6, 0}}) {
        SCOPED_TRACE(::testing::Message() << "sample_count " << row.count);
        state.port_address = row.address;
        state.sample_count = row.count;
        state.sample_interval = row.interval;
        state.counter_frequency = row.frequency;
        counter = testing::FakeCounter(row.frequency, 1);
        port.clearAccesses();
        for (const std::int16_t reading : row.readings) {
            port.queueReadings({reading});
        }
        EXPECT_THROW(readport(state, port, counter), VistraceError);
        EXPECT_EQ(state.samples, previous);
        EXPECT_EQ(port.accesses().size(), row.accesses);
        EXPECT_EQ(counter.readings, row.counterReadings);
    }
}

} // namespace
} // namespace vistrace
