#include "instrument_tables.h"
#include "scope_window.h"

#include <QComboBox>

namespace vistrace {

void ScopeWindow::Port_Address_Box_Click() {
    if (const auto row = rowAt(portChoices_, Port_Address_Box->currentIndex())) {
        state.port_address = row->port_address;
    }
}

// Picking the address shown again is how the operator retries after fixing the cause, such
// as loading the port's driver, which may also bring a port at an address not offered yet.
void ScopeWindow::portAddressPicked() {
    offerMachinePorts();
    bindPort();
}

void ScopeWindow::portListOpening() {
    offerMachinePorts();
}

void ScopeWindow::TimeBase_box_Click() {
    if (const auto row = rowAt(kTimeBaseRows, TimeBase_box->currentIndex())) {
        row->applyTo(state);
    }
}

void ScopeWindow::VoltPerDiv_Box_Click() {
    if (const auto row = rowAt(kGainRows, VoltPerDiv_Box->currentIndex())) {
        state.volts_gain = row->volts_gain;
    }
}

void ScopeWindow::trigger_voltage_box_Click() {
    if (const auto row = rowAt(kTriggerLevelRows, trigger_voltage_box->currentIndex())) {
        state.trigger_level = row->trigger_level;
    }
}

} // namespace vistrace
