#include "scripted_port.h"
#include "trigger.h"

#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

constexpr int kRising = 0;
constexpr int kFalling = 1;

struct TriggerTest : ::testing::Test {
    // After whatever pairs a case queues, the input stays flat: no further pair can trigger.
    TriggerTest() { port.setStandingSample(128); }

    // Runs the wait, asking for a stop in its third round of events; each round sets the
    // trigger level to levelInPump if one is given.
    TriggerOutcome wait(int slope, int levelInPump = -1) {
        accessesAtPump.clear();
        port.clearAccesses();
        state.stop_requested = false;
        return waittrigger(state, port, slope, [this, levelInPump] {
            accessesAtPump.push_back(port.accesses().size());
            if (levelInPump >= 0) {
                state.trigger_level = static_cast<std::uint8_t>(levelInPump);
            }
            state.stop_requested = accessesAtPump.size() >= 3;
        });
    }

    ScopeState state;
    testing::ScriptedPort port;
    std::vector<std::size_t> accessesAtPump;
};

// The pairs 128, 128 make a constant input just beyond the level: it must never trigger. The
// level is read after the events run, so a level chosen there applies to the pair just read.
TEST_F(TriggerTest, OnlyAPairMovingStrictlyPastTheLevelReadAfterTheEventsTriggers) {
    struct Case {
        int slope;
        std::uint8_t level, first, second;
        bool triggers;
        int levelInPump = -1;
    };
    for (const Case row :
         {Case{kRising, 126, 130, 120, true}, Case{kRising, 126, 120, 110, true},
          Case{kRising, 126, 110, 120, false}, Case{kRising, 129, 128, 128, false},
          Case{kRising, 126, 130, 126, false}, Case{kRising, 0, 255, 0, false},
          Case{kRising, 100, 130, 120, true, 126}, Case{kRising, 126, 130, 120, false, 100},
          Case{kFalling, 126, 120, 130, true}, Case{kFalling, 126, 126, 127, true},
          Case{kFalling, 126, 140, 130, false}, Case{kFalling, 127, 128, 128, false},
          Case{kFalling, 126, 120, 126, false}, Case{kFalling, 255, 0, 255, false}}) {
        state.trigger_level = row.level;
        port.queueSamples({row.first, row.second});
        SCOPED_TRACE(::testing::Message() << "slope " << row.slope << " level " << int{row.level}
                                          << " pair " << int{row.first} << ", " << int{row.second});
        EXPECT_EQ(wait(row.slope, row.levelInPump),
                  row.triggers ? TriggerOutcome::Triggered : TriggerOutcome::Stopped);
        // Events run once after every pair of reads, and a stop asked for there ends the wait.
        EXPECT_EQ(accessesAtPump.size(), row.triggers ? 1U : 3U);
        EXPECT_EQ(accessesAtPump.back(), 12 * accessesAtPump.size());
    }
}

TEST_F(TriggerTest, NoSlopeSelectedReturnsAtOnceWithoutPortAccess) {
    for (const int slope : {-1, 2}) {
        EXPECT_EQ(wait(slope), TriggerOutcome::Triggered);
    }
    EXPECT_TRUE(accessesAtPump.empty());
    EXPECT_TRUE(port.accesses().empty());
}

} // namespace
} // namespace vistrace
