#include "control_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// An error is reported in a box and ends the program with status 1, keeping the last good
// sweep: a port failing in a capture or in a trigger wait, a timed sweep without a counter.
// Exit and a window close end it at once with status 0 from a loop, a wait or a single shot,
// and then nothing touches the port and no handler runs.
TEST_F(ControlTest, WhatEndsTheProgramInsideTheLoopEndsItCleanly) {
    struct Case {
        int mode;
        std::size_t at;   // the port access (from Run) at which the end comes; 0: no counter
        int how;          // 0 a port failure, 1 Exit, 2 a close
        std::size_t last; // port accesses in all
    };
    for (const Case row :
         {Case{0, kSweep / 2, 0, kSweep / 2}, Case{1, 40 * kPair, 0, 40 * kPair}, Case{0, 0, 0, 3},
          Case{1, 2000, 1, 2004}, Case{0, 2000, 2, kSweep}, Case{2, 2000, 2, 2004}}) {
        SetUp();
        load();
        port.setStandingSample(60);
        window->Command1->click();
        port.setStandingSample(200); // never a trigger
        port.clearAccesses();
        window->trigger_mode_box->setCurrentIndex(row.mode);
        window->state.counter_frequency = row.at == 0 ? 0 : window->state.counter_frequency;
        whenPort([this, row] { return row.at != 0 && accessCount() >= row.at; },
                 [this, row] {
                     if (row.how == 0) {
                         throw PortError("Parallel port failed");
                     }
                     post(window.get(), [this, row] {
                         row.how == 1 ? window->mnuexit->trigger()
                                      : static_cast<void>(window->close());
                         window->Command1->click();
                         window->TimeBase_box->setCurrentIndex(0);
                     });
                 });
        SeenBox box;
        answerNextBox(box);
        window->Command4->click();
        EXPECT_EQ(box.shown, row.how == 0);
        EXPECT_TRUE(window->ending());
        EXPECT_EQ(window->exitCode(), row.how == 0 ? 1 : 0);
        EXPECT_FALSE(window->loopRunning());
        EXPECT_EQ(accessCount(), row.last);
        EXPECT_EQ(window->state.sample_count, 500);
        for (int i = 1; i <= 500 && row.how == 0; ++i) {
            ASSERT_EQ(window->state.samples[i], 60) << i;
        }
        TearDown();
    }
}

} // namespace
} // namespace vistrace::testing
