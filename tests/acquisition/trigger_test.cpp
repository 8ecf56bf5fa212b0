#include "fakes.h"
#include "trigger.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace vistrace::testing {
namespace {

constexpr int kRising = 0;
constexpr int kFalling = 1;

// After the queued pairs the input stays at 128, and the third round of events stops. The level
// is read after the events; only a pair's own samples are compared; and a pair read on a port the
// operator left in the events is not tested.
TEST(Trigger, OnlyAPairMovingStrictlyPastTheLevelReadAfterTheEventsTriggers) {
    struct Case {
        int slope;
        std::uint8_t level;
        std::vector<std::uint8_t> samples;
        std::size_t rounds; // of events: 1 if the first pair triggers, 3 if none does
        int levelInPump = -1;
        std::int16_t portInPump = 0;
    };
    // clang-format off
    for (Case row : std::vector<Case>{
        {kRising, 126, {130, 120}, 1}, {kRising, 126, {120, 110}, 1}, {kRising, 126, {110, 120}, 3},
        {kRising, 129, {128, 128}, 3}, {kRising, 126, {130, 126}, 3}, {kRising, 0, {255, 0}, 3},
        {kRising, 100, {130, 120}, 1, 126}, {kRising, 126, {130, 120}, 3, 100},
        {kRising, 126, {130, 130, 120, 120}, 3}, {kRising, 126, {130, 120, 130, 120}, 2, -1, 0x278},
        {kFalling, 126, {120, 130}, 1}, {kFalling, 126, {126, 127}, 1}, {kFalling, 126, {140, 130}, 3},
        {kFalling, 127, {128, 128}, 3}, {kFalling, 126, {120, 126}, 3}, {kFalling, 255, {0, 255}, 3},
        {-1, 126, {}, 0}, {2, 126, {}, 0}}) { // clang-format on
        SCOPED_TRACE(::testing::Message() << "slope " << row.slope << " level " << int{row.level});
        ScopeState state;
        state.trigger_level = row.level;
        ScriptedPort port;
        port.standing = 128;
        port.queueSamples(row.samples);
        std::size_t rounds = 0;
        const TriggerOutcome outcome = waittrigger(state, port, row.slope, [&] {
            // Events run once after every pair of reads, and never inside one.
            EXPECT_EQ(port.accesses.size(), 12 * ++rounds);
            EXPECT_EQ(port.accesses.back().address, state.port_address + 1);
            state.port_address =
                row.portInPump != 0 ? std::exchange(row.portInPump, 0) : state.port_address;
            if (row.levelInPump >= 0) {
                state.trigger_level = static_cast<std::uint8_t>(row.levelInPump);
            }
            state.stop_requested = rounds >= 3;
        });
        EXPECT_EQ(outcome, row.rounds == 3 ? TriggerOutcome::Stopped : TriggerOutcome::Triggered);
        EXPECT_EQ(rounds, row.rounds);
        EXPECT_EQ(port.accesses.size(), 12 * row.rounds);
    }
}

} // namespace
} // namespace vistrace::testing
