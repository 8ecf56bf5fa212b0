#pragma once

#include "form1.h"
#include "inpout.h"
#include "parallel_ports.h"
#include "port_choices.h"
#include "sweep_priority.h"
#include "sweep_timing.h"
#include "trigger.h"

#include <optional>
#include <vector>

namespace vistrace {

// The working instrument: the window with the handlers of operator control, bound to a
// port back end, a counter and a sweep priority chosen by main. A back end that has to
// reach the machine's ports comes with a binder, which also offers those ports in the Port
// Address list.
class ScopeWindow final : public Form1 {
    Q_OBJECT

public:
    ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepPriority& sweeps,
                PortBinder* binder = nullptr);

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

    // True from Run until its loop has really ended.
    [[nodiscard]] bool loopRunning() const { return loopRunning_; }

private:
    void runSingleShot();
    void runPass();
    // Clears the screen and draws samples as they stand.
    void redraw();
    // A fresh sweep at the selected time base's spacing, then a redraw.
    void captureAndRedraw();
    // Times the port at port_address unless that is done already; see SweepTiming.
    void timePort();
    // Sets sample_interval so that samples come as far apart as the time base's item says.
    void spaceSamples();
    // Reaches the port at port_address; one that cannot be reached is a warning.
    void bindPort();
    // Appends the machine's ports that the port list does not offer yet.
    void offerMachinePorts();

    PortIo& port_;
    PerformanceCounter& counter_;
    PortBinder* binder_;
    std::vector<PortChoice> portChoices_;
    SweepPriority& sweeps_;
    SweepTiming timing_;
    std::optional<std::int16_t> timedAddress_;
    bool loopRunning_ = false;
};

} // namespace vistrace
