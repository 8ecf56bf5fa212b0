#include "control_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>

namespace vistrace::testing {
namespace {

class Offsets : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        load();
        port.clearAccesses();
    }

    [[nodiscard]] bool blueAt(int x, int y) const {
        return (window->scope->runtimeLayer().pixel(x, y) & 0xFFFFFFU) == 0x0000FFU;
    }
};

TEST_F(Offsets, MovingABarBeforeAnyCaptureDrawsTheZeroBufferWithoutCapturing) {
    window->YOffset->setValue(300);
    // 128 x 0.36 = 46.08 rows above the bar's row.
    EXPECT_TRUE(blueAt(250, 253));
    EXPECT_FALSE(blueAt(250, 300));
    window->XOffset->setValue(-100);
    EXPECT_TRUE(blueAt(250, 253));
    EXPECT_FALSE(blueAt(450, 253));
    EXPECT_TRUE(port.accesses().empty());
}

TEST_F(Offsets, ResetRecentresThenCapturesAndDrawsAFreshSweepWithoutATrigger) {
    window->trigger_mode_box->setCurrentIndex(1);
    port.setStandingSample(128);
    window->XOffset->setValue(40);
    window->YOffset->setValue(100);
    window->Command1->click();

    EXPECT_EQ(window->XOffset->value(), 0);
    EXPECT_EQ(window->YOffset->value(), 212);
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(port.accesses().size(), 500U * 6U);
    EXPECT_TRUE(blueAt(250, 212));
    EXPECT_FALSE(blueAt(250, 100));
    EXPECT_FALSE(window->loopRunning());
    EXPECT_TRUE(runEnabled());

    window->Command1->click(); // already at the start positions: still a fresh sweep
    EXPECT_EQ(captures(), 2);
}

TEST_F(Offsets, ResetDuringATriggerWaitCapturesOnceAndTheWaitCarriesOn) {
    window->trigger_mode_box->setCurrentIndex(1);
    port.setStandingSample(140);
    std::size_t afterReset = 0;
    whenPort([this] { return port.accesses().size() >= 60; },
             [&] {
                 post(window.get(), [&] {
                     window->Command1->click();
                     afterReset = port.accesses().size();
                 });
             });
    whenPort([&] { return afterReset > 0 && port.accesses().size() >= afterReset + 120; },
             [this] { post(window.get(), [this] { window->Command2->click(); }); });
    window->Command4->click();

    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(window->state.samples[1], 140);
    EXPECT_TRUE(blueAt(250, 216)); // (140 - 128) x 0.36 = 4.32 rows down
    EXPECT_GE(port.accesses().size(), afterReset + 120);
    EXPECT_FALSE(window->loopRunning());
}

} // namespace
} // namespace vistrace::testing
