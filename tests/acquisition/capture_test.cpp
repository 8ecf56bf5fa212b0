#include "capture.h"
#include "converter_pins.h"
#include "errors.h"
#include "fake_counter.h"
#include "scripted_port.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using testing::FakeCounter;
using testing::PortAccess;
using testing::ScriptedPort;

std::vector<PortAccess> sampleTraffic(std::int16_t first, std::int16_t second) {
    return {testing::write(0x378, 254),  testing::write(0x378, 255), testing::write(0x378, 253),
            testing::read(0x379, first), testing::write(0x378, 255), testing::read(0x379, second)};
}

struct CaptureTest : ::testing::Test {
    CaptureTest() {
        state.port_address = 0x378;
        for (int i = 0; i <= SampleBuffer::kLastIndex; ++i) {
            state.samples[i] = static_cast<std::uint8_t>(i * 7);
        }
        previous = state.samples;
        port.beforeAccess = [this](const PortAccess&) {
            counterReadingsAtAccess.push_back(counter.readings);
        };
    }

    ScopeState state;
    SampleBuffer previous;
    ScriptedPort port;
    FakeCounter counter{1'000'000, 1};
    std::vector<int> counterReadingsAtAccess;
};

TEST_F(CaptureTest, WaitSitsBetweenTheStrobesAndTheFirstReading) {
    state.sample_count = 1;
    state.sample_interval = 5e-6;
    state.counter_frequency = counter.frequency;
    port.queueReadings({0x70, 0xF0});

    readport(state, port, counter);

    EXPECT_EQ(port.accesses(), sampleTraffic(0x70, 0xF0));
    EXPECT_EQ(counterReadingsAtAccess, (std::vector<int>{0, 0, 0, 6, 6, 6}));
    EXPECT_EQ(state.count_start, 1);
    EXPECT_EQ(state.count_now, 6);
    EXPECT_DOUBLE_EQ(state.elapsed, 5e-6);
    EXPECT_EQ(state.samples[1], 128);
}

TEST_F(CaptureTest, WaitRestartsForEverySampleAndEndsAtTheFirstReadingPastTheInterval) {
    struct Case {
        std::int64_t frequency, step;
        double interval;
        int readingsPerSample;
        double elapsed;
    };
    for (const Case c : {Case{1000, 1, 0.005, 6, 0.005}, Case{1000, 3, 0.005, 3, 0.006},
                         Case{1'000'000, 1, 1e-12, 2, 1e-6}}) {
        counter = FakeCounter(c.frequency, c.step);
        state.counter_frequency = c.frequency;
        state.sample_interval = c.interval;
        state.sample_count = 3;

        readport(state, port, counter);

        EXPECT_EQ(counter.readings, 3 * c.readingsPerSample) << "interval " << c.interval;
        EXPECT_EQ(state.count_start, (2 * c.readingsPerSample + 1) * c.step);
        EXPECT_EQ(state.count_now, 3 * c.readingsPerSample * c.step);
        EXPECT_DOUBLE_EQ(state.elapsed, c.elapsed);
    }
}

TEST_F(CaptureTest, ZeroIntervalNeverReadsTheCounter) {
    state.sample_count = 2;
    state.sample_interval = 0.0;
    state.counter_frequency = 0;
    state.count_start = 11;
    state.count_now = 22;
    state.elapsed = 3.5;
    port.queueReadings({0x80, 0x80, 0x70, 0x70});

    readport(state, port, counter);

    std::vector<PortAccess> expected = sampleTraffic(0x80, 0x80);
    std::ranges::copy(sampleTraffic(0x70, 0x70), std::back_inserter(expected));
    EXPECT_EQ(port.accesses(), expected);
    EXPECT_EQ(counter.readings, 0);
    EXPECT_EQ(state.count_start, 11);
    EXPECT_EQ(state.count_now, 22);
    EXPECT_EQ(state.elapsed, 3.5);
    EXPECT_EQ(state.samples[1], 255);
    EXPECT_EQ(state.samples[2], 0);
}

TEST_F(CaptureTest, AssemblesEveryValueAsTheConverterPresentsIt) {
    for (int sample = 0; sample <= 255; ++sample) {
        port.queueReadings({testing::statusShowing(sample & 0x0F, sample),
                            testing::statusShowing(sample >> 4, ~sample)});
    }
    state.sample_count = 256;
    readport(state, port, counter);
    for (int i = 1; i <= 256; ++i) {
        ASSERT_EQ(state.samples[i], i - 1);
    }
}

TEST_F(CaptureTest, NonPositiveSampleCountTouchesNothing) {
    state.sample_interval = 0.001;
    for (const std::int16_t count : std::initializer_list<std::int16_t>{0, -1, -32768}) {
        state.sample_count = count;
        readport(state, port, counter);
    }
    EXPECT_TRUE(port.accesses().empty());
    EXPECT_EQ(counter.readings, 0);
    EXPECT_EQ(state.samples, previous);
}

TEST_F(CaptureTest, ShorterSweepReplacesOnlyItsOwnElements) {
    state.sample_count = 500;
    port.setStandingSample(200);
    readport(state, port, counter);
    state.sample_count = 166;
    port.setStandingSample(50);
    readport(state, port, counter);

    for (int i = 0; i <= SampleBuffer::kLastIndex; ++i) {
        const int expected = i == 0 || i > 500 ? previous[i] : i <= 166 ? 50 : 200;
        ASSERT_EQ(state.samples[i], expected) << "element " << i;
    }
}

TEST_F(CaptureTest, FullBufferNeverTouchesElementZero) {
    state.sample_count = 800;
    port.setStandingSample(9);
    readport(state, port, counter);
    EXPECT_EQ(state.samples[0], previous[0]);
    for (int i = 1; i <= 800; ++i) {
        ASSERT_EQ(state.samples[i], 9);
    }
}

// Every failure in the acquisition pass has to leave the previous sweep whole.

TEST_F(CaptureTest, SampleCount801FailsAtTheFirstReadingOfSample801) {
    state.sample_count = 801;
    EXPECT_THROW(readport(state, port, counter), SubscriptRangeError);
    EXPECT_EQ(state.samples, previous);
    ASSERT_EQ(port.accesses().size(), 800u * 6 + 4);
    EXPECT_EQ(port.accesses().back().kind, PortAccess::Kind::Read);
    EXPECT_EQ(port.accesses()[port.accesses().size() - 2], testing::write(0x378, 253));
}

TEST_F(CaptureTest, StatusAddressOverflowFailsBeforeAnyReading) {
    state.port_address = 32767;
    state.sample_count = 5;
    EXPECT_THROW(readport(state, port, counter), OverflowError);
    EXPECT_EQ(state.samples, previous);
    EXPECT_EQ(port.accesses(),
              (std::vector<PortAccess>{testing::write(32767, 254), testing::write(32767, 255),
                                       testing::write(32767, 253)}));
}

TEST_F(CaptureTest, MissingCounterFailsTheWaitOfSampleOne) {
    for (const std::int64_t step : {1, 0}) {
        counter = FakeCounter(0, step);
        port.clearAccesses();
        state.counter_frequency = 0;
        state.sample_interval = 0.00001;
        state.sample_count = 500;
        EXPECT_THROW(readport(state, port, counter), DivisionError) << "counter step " << step;
        EXPECT_EQ(counter.readings, 2);
        EXPECT_EQ(port.accesses(),
                  (std::vector<PortAccess>{testing::write(0x378, 254), testing::write(0x378, 255),
                                           testing::write(0x378, 253)}));
        EXPECT_EQ(state.samples, previous);
    }
}

TEST_F(CaptureTest, EitherStatusReadingOutsideAByteOverflows) {
    state.sample_count = 10;
    port.queueReadings({0x70, 0xF0, 0x70, 0xF0, 256});
    EXPECT_THROW(readport(state, port, counter), OverflowError);
    EXPECT_EQ(state.samples, previous);

    port.queueReadings({0x70, -1});
    EXPECT_THROW(readport(state, port, counter), OverflowError);
    EXPECT_EQ(state.samples, previous);
}

TEST_F(CaptureTest, PortFailureMidSweepKeepsThePreviousSweep) {
    state.sample_count = 10;
    port.beforeAccess = [accesses = 0](const PortAccess&) mutable {
        if (++accesses == 40) {
            throw PortError("device gone");
        }
    };
    EXPECT_THROW(readport(state, port, counter), PortError);
    EXPECT_EQ(state.samples, previous);
}

} // namespace
} // namespace vistrace
