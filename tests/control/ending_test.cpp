#include "control_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace vistrace::testing {
namespace {

// Exit, and closing the window, end the program at once from inside a running loop or a
// trigger wait: nothing touches the port afterwards and no other handler runs.
class Ending : public ControlTest {
protected:
    void endFromThePump(int mode, const std::function<void()>& end,
                        const std::function<void()>& afterwards = {}) {
        load();
        window->trigger_mode_box->setCurrentIndex(mode);
        whenPort([this] { return port.accesses().size() >= 2000; },
                 [this, end, afterwards] {
                     post(window.get(), [this, end, afterwards] {
                         end();
                         accessesAtEnd = port.accesses().size();
                         if (afterwards) {
                             afterwards();
                         }
                     });
                 });
        window->Command4->click();
    }

    void expectEndedCleanly() const {
        EXPECT_TRUE(window->ending());
        EXPECT_EQ(window->exitCode(), 0);
        EXPECT_EQ(port.accesses().size(), accessesAtEnd);
        EXPECT_FALSE(window->loopRunning());
        EXPECT_FALSE(window->isVisible());
    }

    std::size_t accessesAtEnd = 0;
};

TEST_F(Ending, ExitInsideATriggerWait) {
    endFromThePump(1, [this] { window->mnuexit->trigger(); });
    expectEndedCleanly();
}

TEST_F(Ending, CloseInsideARunningLoop) {
    endFromThePump(0, [this] { window->close(); });
    expectEndedCleanly();
}

TEST_F(Ending, CloseInsideASingleShotWait) {
    endFromThePump(2, [this] { window->close(); });
    expectEndedCleanly();
}

TEST_F(Ending, NoHandlerRunsAfterExit) {
    endFromThePump(
        1, [this] { window->mnuexit->trigger(); },
        [this] {
            window->Command1->click();
            window->TimeBase_box->setCurrentIndex(0);
        });
    expectEndedCleanly();
    EXPECT_EQ(window->state.sample_count, 500);
}

} // namespace
} // namespace vistrace::testing
