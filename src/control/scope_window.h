#pragma once

#include "form1.h"
#include "inpout.h"
#include "sweep_priority.h"
#include "trigger.h"

namespace vistrace {

// The working instrument: the window with the handlers of operator control, bound to a
// port back end, a counter and a sweep priority chosen by main.
class ScopeWindow final : public Form1 {
    Q_OBJECT

public:
    // Sweeps at normal priority.
    ScopeWindow(PortIo& port, PerformanceCounter& counter);
    ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepPriority& sweeps);

    void readport();
    std::uint8_t oneread();
    TriggerOutcome waittrigger();

    void Form_Load() override;
    void Command4_Click() override;
    void Command2_Click() override;
    void Command1_Click() override;
    void Port_Address_Box_Click() override;
    void TimeBase_box_Click() override;
    void VoltPerDiv_Box_Click() override;
    void trigger_voltage_box_Click() override;
    void XOffset_Change() override;
    void XOffset_Scroll() override;
    void YOffset_Change() override;
    void YOffset_Scroll() override;

    // True from Run until its loop has really ended.
    [[nodiscard]] bool loopRunning() const { return loopRunning_; }

private:
    void runSingleShot();
    void runPass();
    // Clears the screen and draws samples as they stand.
    void redraw();
    // A fresh sweep, then a redraw.
    void captureAndRedraw();

    PortIo& port_;
    PerformanceCounter& counter_;
    NormalPriority normalPriority_;
    SweepPriority& sweeps_;
    bool loopRunning_ = false;
};

} // namespace vistrace
