#pragma once

#include "form1.h"
#include "inpout.h"
#include "port_binder.h"
#include "port_choices.h"
#include "sweep_capture.h"
#include "sweeper.h"
#include "trigger.h"

#include <vector>

namespace vistrace {

// The working instrument: the window with the handlers of operator control, bound to the port
// back end, the counter and the sweep capture chosen by main. The binder reaches the back end's
// ports and offers the machine's in the Port Address list.
//
// Where each part lives:
//   scope_window.cpp  the window's procedures (readport, oneread, waittrigger) and what the
//                     handlers share: redrawing, capturing at the time base's spacing,
//                     binding the port and letting it go when it fails
//   startup.cpp       Form_Load
//   selectors.cpp     the selector handlers and the port list's
//   run_loop.cpp      Run and Stop (Command4_Click, Command2_Click) and the passes of the loop
//   offsets.cpp       the offset bars' handlers and the reset (Command1_Click)
class ScopeWindow final : public Form1 {
    Q_OBJECT

public:
    ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepCapture& sweeps,
                PortBinder& binder);

    void readport();
    std::uint8_t oneread();
    TriggerOutcome waittrigger();

    void Form_Load() override;
    void Command4_Click() override;
    void Command2_Click() override;
    void Command1_Click() override;
    void Port_Address_Box_Click() override;
    void portAddressPicked() override;
    void portListOpening() override;
    void TimeBase_box_Click() override;
    void VoltPerDiv_Box_Click() override;
    void trigger_voltage_box_Click() override;
    void XOffset_Change() override;
    void XOffset_Scroll() override;
    void YOffset_Change() override;
    void YOffset_Scroll() override;
    void portFailed(const PortError& error) override;

    // True from Run until its loop has really ended.
    [[nodiscard]] bool loopRunning() const { return loopRunning_; }

private:
    void runSingleShot();
    void runPass();
    // Clears the screen and draws samples as they stand.
    void redraw();
    // A fresh sweep at the selected time base's spacing, then a redraw.
    void captureAndRedraw();
    // Sets sample_interval so that samples come as far apart as the time base's item says.
    void spaceSamples();
    // Reaches the port at port_address; one that cannot be reached is a warning.
    void bindPort();
    // Lets go of a port that stopped answering, with a warning.
    void dropPort(const PortError& error);
    void warnAboutPort(const std::string& cause);
    // Disables Run, handing the focus on to Stop.
    void disableRun();
    // Appends the machine's ports that the port list does not offer yet.
    void offerMachinePorts();

    PortIo& port_;
    PerformanceCounter& counter_;
    PortBinder& binder_;
    std::vector<PortChoice> portChoices_;
    Sweeper sweeper_;
    bool loopRunning_ = false;
};

} // namespace vistrace
