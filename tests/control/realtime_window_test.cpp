#include "control_fixture.h"
#include "fake_scheduler.h"
#include "realtime_sweeps.h"
#include "selector_tables.h"

namespace vistrace::testing {
namespace {

// The trigger wait pumps events and may wait for ever, so only the sweep after it may take
// real-time priority.
TEST_F(ControlTest, SingleShotRaisesItsSweepButNeverTheTriggerWait) {
    FakeScheduler scheduler;
    RealtimeSweeps sweeps(scheduler, counter, {950'000, 1'000'000});
    window = std::make_unique<ScopeWindow>(port, counter, sweeps);
    load();
    window->setListIndex(window->trigger_mode_box, static_cast<int>(TriggerMode::Single));
    port.queueSamples({130, 130, 130, 130, 130, 130, 130, 120});
    std::vector<bool> raisedAt;
    port.beforeAccess = [&](const PortAccess&) { raisedAt.push_back(scheduler.raised); };

    window->Command4_Click();

    std::vector<bool> expected(4 * 12, false); // four pairs of reads, six accesses each
    expected.resize(expected.size() + 500 * 6, true);
    EXPECT_EQ(raisedAt, expected);
    EXPECT_FALSE(scheduler.raised);
}

} // namespace
} // namespace vistrace::testing
