#include "control_fixture.h"
#include "instrument_tables.h"

#include <QComboBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// Seconds from one sample of the last sweep to the next, from its first and last strobes.
double samplePeriod(const ScriptedPort& port, std::size_t count) {
    const std::size_t last = port.times.size() - 6;
    return static_cast<double>(port.times[last] - port.times[last - 6 * (count - 1)]) / 1e9 /
           static_cast<double>(count - 1);
}

// The first sweep after start-up, the reset's, has its samples as far apart as the item says,
// on a port of 1.5 us an access as on one of 5 us; a row the port cannot keep up with waits
// nothing. Only the port's timing comes between start-up's idle write and the sweep; without a
// counter (0) there is none, and the two rows that need none still sweep.
TEST_F(ControlTest, EachTimeBaseSpacesItsSweepsAsItsItemSaysAndFollowsThePort) {
    for (const std::int64_t ticks : {1'500, 5'000, 0}) {
        for (int i = 0; i < (ticks != 0 ? 9 : 2); ++i) {
            SetUp();
            port.ticksPerAccess = ticks != 0 ? ticks : 1'000;
            counter.frequency = ticks != 0 ? counter.frequency : 0;
            window->load();
            window->TimeBase_box->setCurrentIndex(i);
            window->Command1->click();
            const TimeBaseRow& row = kTimeBaseRows.at(static_cast<std::size_t>(i));
            const auto count = static_cast<std::size_t>(row.sample_count);
            const double work = 6e-9 * static_cast<double>(port.ticksPerAccess);
            const double period = samplePeriod(port, count);
            SCOPED_TRACE(std::string(row.item) + " at " + std::to_string(ticks) + " ns");
            if (ticks != 0 && row.samplePeriod() > work) {
                EXPECT_NEAR(period / row.samplePeriod(), 1.0, 0.01);
            } else {
                EXPECT_EQ(window->state.sample_interval, 0.0);
                EXPECT_NEAR(period, work, 1e-12);
            }
            EXPECT_EQ(port.accesses.size(), 1 + (ticks != 0 ? kTiming : 0) + 6 * count);
            TearDown();
        }
    }
    // At 2mS/Div: a slower port picked is timed before its first sweep; a sweep that something
    // held up does not shorten the waits after it; a port that became 20 % slower is followed
    // within 8 sweeps.
    SetUp();
    const auto sweep = [this] {
        window->Command1->click();
        return samplePeriod(port, 500) / 40e-6;
    };
    window->load();
    sweep();
    port.ticksPerAccess = 2'000;
    window->Port_Address_Box->setCurrentIndex(1);
    EXPECT_NEAR(sweep(), 1.0, 0.01) << "the first sweep on the slower port";
    steps = {{port.accesses.size() + kSweep / 2, [this] { counter.now += 5'000'000; }}};
    EXPECT_GT(sweep(), 1.2) << "held up for 5 ms";
    const double interval = window->state.sample_interval;
    EXPECT_NEAR(sweep(), 1.0, 0.01) << "the sweep after it";
    EXPECT_EQ(window->state.sample_interval, interval);
    port.ticksPerAccess = 2'400;
    for (int i = 0; i < 8; ++i) {
        EXPECT_GT(sweep(), 1.04) << i;
    }
    EXPECT_NEAR(sweep(), 1.0, 0.01) << "after 8 sweeps";
}

} // namespace
} // namespace vistrace::testing
