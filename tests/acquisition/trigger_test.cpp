#include "errors.h"
#include "scripted_port.h"
#include "trigger.h"

#include <gtest/gtest.h>
#include <vector>

namespace vistrace {
namespace {

using testing::PortAccess;
using testing::ScriptedPort;

constexpr int kRising = 0;
constexpr int kFalling = 1;

struct TriggerTest : ::testing::Test {
    TriggerTest() {
        state.port_address = 0x378;
        state.trigger_level = 126;
        // After whatever pairs a case queues, the input stays flat: no further pair can trigger.
        port.setStandingSample(128);
    }

    // Runs the wait, asking for a stop once it has served pumpLimit rounds of events.
    TriggerOutcome wait(int slope, int pumpLimit = 3) {
        return waittrigger(state, port, slope, [this, pumpLimit] {
            accessesAtPump.push_back(port.accesses().size());
            if (onPump) {
                onPump();
            }
            if (static_cast<int>(accessesAtPump.size()) >= pumpLimit) {
                state.stop_requested = true;
            }
        });
    }
    int pumps() const { return static_cast<int>(accessesAtPump.size()); }

    ScopeState state;
    ScriptedPort port;
    std::vector<std::size_t> accessesAtPump;
    std::function<void()> onPump;
};

TEST_F(TriggerTest, OnlyAPairThatMovesStrictlyPastTheLevelTriggers) {
    struct Case {
        int slope;
        std::uint8_t level, first, second;
        bool triggers;
    };
    for (const Case c : {
             Case{kRising, 126, 130, 120, true},
             Case{kRising, 126, 120, 110, true},
             Case{kRising, 126, 110, 120, false},
             Case{kRising, 126, 130, 126, false},
             Case{kRising, 0, 255, 0, false},
             Case{kFalling, 126, 120, 130, true},
             Case{kFalling, 126, 140, 130, false},
             Case{kFalling, 126, 126, 127, true},
             Case{kFalling, 126, 120, 126, false},
             Case{kFalling, 255, 0, 255, false},
         }) {
        accessesAtPump.clear();
        state.stop_requested = false;
        state.trigger_level = c.level;
        port.queueSamples({c.first, c.second});

        const TriggerOutcome outcome = wait(c.slope);

        SCOPED_TRACE(::testing::Message() << "slope " << c.slope << " level " << int{c.level}
                                          << " pair " << int{c.first} << ", " << int{c.second});
        EXPECT_EQ(outcome, c.triggers ? TriggerOutcome::Triggered : TriggerOutcome::Stopped);
        EXPECT_EQ(pumps(), c.triggers ? 1 : 3);
    }
}

TEST_F(TriggerTest, ConstantInputNeverTriggersWhateverTheLevel) {
    for (const int slope : {kRising, kFalling}) {
        for (const std::uint8_t level :
             std::initializer_list<std::uint8_t>{0, 51, 127, 128, 129, 205, 255}) {
            accessesAtPump.clear();
            state.stop_requested = false;
            state.trigger_level = level;
            EXPECT_EQ(wait(slope, 50), TriggerOutcome::Stopped);
            EXPECT_EQ(pumps(), 50);
        }
    }
}

TEST_F(TriggerTest, EachPassIsTwoCompleteReadsBeforeEventsRun) {
    wait(kRising, 2);
    EXPECT_EQ(accessesAtPump, (std::vector<std::size_t>{12, 24}));

    const auto& accesses = port.accesses();
    ASSERT_EQ(accesses.size(), 24u);
    for (std::size_t read = 0; read < 4; ++read) {
        const std::vector<PortAccess> one(accesses.begin() + static_cast<long>(read * 6),
                                          accesses.begin() + static_cast<long>(read * 6 + 6));
        EXPECT_EQ(
            one, (std::vector<PortAccess>{testing::write(0x378, 254), testing::write(0x378, 255),
                                          testing::write(0x378, 253), testing::read(0x379, 0x70),
                                          testing::write(0x378, 255), testing::read(0x379, 0xF0)}));
    }
}

TEST_F(TriggerTest, LevelChosenDuringTheWaitAppliesToThePairJustRead) {
    state.trigger_level = 100;
    port.queueSamples({130, 120});
    onPump = [this] { state.trigger_level = 126; };
    EXPECT_EQ(wait(kRising), TriggerOutcome::Triggered);
    EXPECT_EQ(pumps(), 1);

    accessesAtPump.clear();
    port.queueSamples({130, 120});
    onPump = [this] { state.trigger_level = 100; };
    EXPECT_EQ(wait(kRising), TriggerOutcome::Stopped);
}

TEST_F(TriggerTest, NoSlopeSelectedReturnsAtOnceWithoutPortAccess) {
    for (const int slope : {-1, 2}) {
        EXPECT_EQ(wait(slope), TriggerOutcome::Triggered);
    }
    EXPECT_EQ(pumps(), 0);
    EXPECT_TRUE(port.accesses().empty());
}

TEST_F(TriggerTest, ReadErrorsEndTheWait) {
    state.port_address = 32767;
    EXPECT_THROW(wait(kRising), OverflowError);
    EXPECT_EQ(port.accesses().size(), 3u);

    state.port_address = 0x378;
    port.queueReadings({0x70, 0xF0, 0x70, 300});
    EXPECT_THROW(wait(kFalling), OverflowError);
    EXPECT_EQ(pumps(), 0);
}

} // namespace
} // namespace vistrace
