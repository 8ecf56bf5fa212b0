#include "control_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>

namespace vistrace::testing {
namespace {

using Offsets = ControlTest;

// Drag steps, their release and trough clicks redraw the stored sweep as it is then; none captures.
TEST_F(Offsets, DragsAndPagesRedrawTheStoredSweepAtTheNewPlace) {
    window->load();
    window->YOffset->setSliderDown(true);
    for (const int row : {100, 150, 380}) {
        window->YOffset->setSliderPosition(row);
        EXPECT_TRUE(blueAt(250, row - 47)) << row; // zeros, 128 x 0.36 rows above the bar's row
    }
    for (int i = 0; i <= 800; ++i) {
        window->state.samples[i] = 128;
    }
    window->YOffset->setSliderDown(false);
    EXPECT_TRUE(blueAt(250, 380));
    window->YOffset->triggerAction(QScrollBar::SliderPageStepSub);
    EXPECT_TRUE(blueAt(columnOf(50), 330) && !blueAt(columnOf(50), 380)) << "cleared first";
    window->XOffset->setSliderDown(true);
    window->XOffset->setSliderPosition(-200); // units -199 to 300
    EXPECT_TRUE(blueAt(columnOf(290), 330) && !blueAt(columnOf(310), 330));
    window->XOffset->setSliderDown(false);
    window->XOffset->triggerAction(QScrollBar::SliderPageStepAdd); // to 400
    EXPECT_TRUE(blueAt(columnOf(390), 330) && !blueAt(columnOf(410), 330));
    EXPECT_EQ(port.accesses.size(), 1U);
}

// The reset recentres both bars and captures (counted by the loop and time-base tests); a redraw
// at a new time base draws its sample_count from the buffer: 250 captured, 250 never written.
TEST_F(Offsets, ResetRecentresAndCapturesThenARedrawDrawsTheNewCountFromTheOldBuffer) {
    window->load();
    port.standing = 128;
    window->XOffset->setValue(40);
    window->YOffset->setValue(100);
    window->TimeBase_box->setCurrentIndex(1); // "1mS/Div": 250 samples
    window->Command1->click();
    EXPECT_EQ(window->XOffset->value(), 0);
    window->TimeBase_box->setCurrentIndex(2); // "2mS/Div": 500 samples
    window->XOffset->setValue(1);
    EXPECT_TRUE(blueAt(columnOf(100), 212)) << "the reset's capture, recentred";
    EXPECT_TRUE(blueAt(columnOf(400), 165) && !blueAt(columnOf(400), 212)) << "never written";
}

} // namespace
} // namespace vistrace::testing
