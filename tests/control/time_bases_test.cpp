#include "control_fixture.h"
#include "instrument_tables.h"

#include <QComboBox>
#include <QPushButton>
#include <array>
#include <cmath>

namespace vistrace::testing {
namespace {

// Seconds from one sample of the last sweep to the next, from its first and last strobes.
double samplePeriod(const ScriptedPort& port, std::size_t count) {
    const std::size_t last = port.times.size() - 6;
    return static_cast<double>(port.times[last] - port.times[last - 6 * (count - 1)]) / 1e9 /
           static_cast<double>(count - 1);
}

// The reset's first sweep spaces its samples as the item says at 1.5 or 5 us an access; a row the
// port cannot keep up with waits nothing and reads no counter. Only the port's timing precedes
// it, and without a counter (0) none: the two rows that need none still sweep.
TEST_F(ControlTest, EachTimeBaseSpacesItsSweepsAsItsItemSaysAndFollowsThePort) {
    for (const std::int64_t ticks : {1'500, 5'000, 0}) {
        for (int i = 0; i < (ticks != 0 ? 9 : 2); ++i) {
            SetUp();
            port.ticksPerAccess = ticks != 0 ? ticks : 1'000;
            counter.frequency = ticks != 0 ? counter.frequency : 0;
            window->load();
            window->TimeBase_box->setCurrentIndex(i);
            const TimeBaseRow& row = kTimeBaseRows.at(static_cast<std::size_t>(i));
            const auto count = static_cast<std::size_t>(row.sample_count);
            std::array<int, 2> readings{}; // of the counter, at the capture's first and last access
            const std::size_t timing = ticks != 0 ? kTiming : 0;
            steps = {{1 + timing, [&] { readings[0] = counter.readings; }},
                     {timing + 6 * count, [&] { readings[1] = counter.readings; }}};
            window->Command1->click();
            const double work = 6e-9 * static_cast<double>(port.ticksPerAccess);
            const double period = samplePeriod(port, count);
            SCOPED_TRACE(std::string(row.item) + " at " + std::to_string(ticks) + " ns");
            if (ticks != 0 && row.samplePeriod() > work) {
                EXPECT_NEAR(period / row.samplePeriod(), 1.0, 0.01);
            } else {
                EXPECT_EQ(window->state.sample_interval, 0.0);
                EXPECT_NEAR(period, work, 1e-12);
                EXPECT_EQ(readings[0], readings[1])
                    << "the counter read in a sweep that waits nothing";
            }
            EXPECT_EQ(port.accesses.size(), 1 + timing + 6 * count);
            TearDown();
        }
    }
}

// At 2mS/Div a slower port is timed before its first sweep, then its samples' steps space them;
// sweeps held up (once each, or at a step in ten) keep their waits; a port 20 % slower, in 8. A
// sample that costs more at 5mS/Div's longer wait, and scatters from sweep to sweep, as on a PC.
TEST_F(ControlTest, SweepsHeldUpOnABusyMachineKeepTheirSpacing) {
    // Held up by 3 ms at every sample of that number from first on.
    const auto sweep = [this](std::size_t every = 0, std::size_t first = 0) {
        for (std::size_t sample = first; every != 0 && sample < 500; sample += every) {
            steps.emplace_back(port.accesses.size() + 6 * sample,
                               [this] { counter.now += 3'000'000; });
        }
        window->Command1->click();
        const auto row = static_cast<std::size_t>(window->TimeBase_box->currentIndex());
        return samplePeriod(port, 500) / kTimeBaseRows.at(row).samplePeriod();
    };
    window->load();
    sweep();
    port.ticksPerAccess = 2'000;
    window->Port_Address_Box->setCurrentIndex(1);
    EXPECT_NEAR(sweep(), 1.0, 0.01) << "the first sweep on the slower port";
    for (const bool reached : {false, true}) { // the address picked again once it answers
        binder.unreachable = !reached;
        emit window->Port_Address_Box->activated(1);
        const std::size_t before = port.accesses.size();
        sweep();
        EXPECT_EQ(port.accesses.size() - before, kTiming + kSweep) << "timed anew: " << reached;
    }
    EXPECT_NEAR(sweep(), 1.0, 0.001) << "the second";
    const double quiet = window->state.sample_interval;
    for (int i = 0; i < 20; ++i) {
        sweep(500, 250);
    }
    EXPECT_NEAR(window->state.sample_interval, quiet, 0.005 * quiet) << "held up in every sweep";
    for (int i = 0; i < 10; ++i) {
        sweep(10, 5);
    }
    EXPECT_NEAR(window->state.sample_interval, quiet, 0.005 * quiet)
        << "held up at one step in ten";
    port.ticksPerAccess = 2'400;
    for (int i = 0; i < 8; ++i) {
        sweep();
    }
    EXPECT_NEAR(sweep(), 1.0, 0.001) << "after 8 sweeps on the slower port";
    for (int i = 0; i < 12; ++i) { // two sweeps at each time base in turn
        const bool longer = i % 4 >= 2;
        window->TimeBase_box->setCurrentIndex(longer ? 3 : 2);
        port.ticksPerAccess = longer ? 2'100 : 2'000 + 20 * (i % 2);
        const double ratio = sweep();
        EXPECT_TRUE(i < 8 || std::abs(ratio - 1.0) < 0.002) << i << ": " << ratio;
    }
}

} // namespace
} // namespace vistrace::testing
