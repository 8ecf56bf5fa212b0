#include "scope_window.h"

#include "adc.h"
#include "errors.h"
#include "instrument_tables.h"
#include "port_address.h"
#include "program_identity.h"

#include <QComboBox>
#include <QMessageBox>

namespace vistrace {

ScopeWindow::ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepCapture& sweeps,
                         PortBinder& binder)
    : Form1(kRestXOffset, kRestYOffset), port_(port), counter_(counter), binder_(binder),
      sweeper_(port, counter, sweeps) {}

void ScopeWindow::readport() {
    sweeper_.readport(state);
}

std::uint8_t ScopeWindow::oneread() {
    return vistrace::oneread(state, port_);
}

TriggerOutcome ScopeWindow::waittrigger() {
    return sweeper_.waittrigger(state, trigger_slop_box->currentIndex(), [this] { pumpEvents(); });
}

void ScopeWindow::redraw() {
    scope->clear();
    drawtrace();
}

void ScopeWindow::captureAndRedraw() {
    spaceSamples();
    readport();
    redraw();
}

// The time-base handler cannot do this alone: what the port takes is learnt between sweeps.
void ScopeWindow::spaceSamples() {
    if (const auto row = rowAt(kTimeBaseRows, TimeBase_box->currentIndex())) {
        sweeper_.spaceSamples(state, row->samplePeriod(), row->sample_interval);
    }
}

// A port that cannot be reached does not end the program: the operator may pick another
// address, or fix the cause and pick this one again.
void ScopeWindow::bindPort() {
    sweeper_.forgetPort(); // a port bound anew may be another one
    try {
        binder_.bind(baseAddressOf(state.port_address));
    } catch (const PortUnreachable& error) {
        warnAboutPort(error.what());
    }
}

// Whatever the port was doing, the loop stops as Stop would and the last sweep stays.
void ScopeWindow::portFailed(const PortError& error) {
    Command2_Click();
    dropPort(error);
}

// The device of a port that failed is closed, so that picking the address again opens it
// afresh once the adapter is back or the driver reloaded.
void ScopeWindow::dropPort(const PortError& error) {
    binder_.release();
    warnAboutPort(error.what() +
                  std::string(". Check the port's cable or adapter, and its driver."));
}

void ScopeWindow::warnAboutPort(const std::string& cause) {
    QMessageBox::warning(
        this, QString::fromLatin1(kProgramTitle),
        QString::fromStdString(cause) +
            QStringLiteral("\n\nUntil the port is reached, sweeps at this address show a flat "
                           "line. Choose the address again in Port Address to retry."));
}

// Items are only ever appended: an index keeps its meaning, and a port that has gone stays
// listed and warns when picked.
void ScopeWindow::offerMachinePorts() {
    for (PortChoice& choice : newPortChoices(portChoices_, binder_.machinePorts())) {
        portChoices_.push_back(std::move(choice));
        Port_Address_Box->addItem(QString::fromStdString(portChoices_.back().item));
    }
}

} // namespace vistrace
