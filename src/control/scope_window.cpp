#include "scope_window.h"

#include "adc.h"
#include "capture.h"
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
      sweeps_(sweeps) {}

// Every sweep also tells how long the port took, which the next ones are spaced by.
void ScopeWindow::readport() {
    if (state.counter_frequency == 0) {
        sweeps_.readport(state, port_, counter_, timing_);
        return;
    }
    std::int64_t start = 0;
    std::int64_t end = 0;
    counter_.QueryPerformanceCounter(start);
    sweeps_.readport(state, port_, counter_, timing_);
    counter_.QueryPerformanceCounter(end);
    timing_.learn(static_cast<double>(end - start) / static_cast<double>(state.counter_frequency),
                  state.sample_count, state.sample_interval);
}

std::uint8_t ScopeWindow::oneread() {
    return vistrace::oneread(state, port_);
}

// A port picked during the wait is timed there, before the next pair: the capture must
// follow its trigger at once.
TriggerOutcome ScopeWindow::waittrigger() {
    timePort();
    return vistrace::waittrigger(state, port_, trigger_slop_box->currentIndex(), [this] {
        pumpEvents();
        timePort();
    });
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

// Not at start-up, whose port traffic is the idle write alone, but before the port's first
// trigger wait or sweep. Without a counter there is nothing to time it with.
void ScopeWindow::timePort() {
    if (state.counter_frequency == 0 || timedAddress_ == state.port_address) {
        return;
    }
    timing_.measure(port_, counter_, state.counter_frequency, state.port_address);
    timedAddress_ = state.port_address;
}

// The time-base handler cannot do this alone: what the port takes is learnt between sweeps.
// Without a counter the table's own interval stands.
void ScopeWindow::spaceSamples() {
    timePort();
    if (const auto row = rowAt(kTimeBaseRows, TimeBase_box->currentIndex())) {
        state.sample_interval = state.counter_frequency == 0
                                    ? row->sample_interval
                                    : timing_.intervalFor(row->samplePeriod());
    }
}

// A port that cannot be reached does not end the program: the operator may pick another
// address, or fix the cause and pick this one again.
void ScopeWindow::bindPort() {
    timedAddress_.reset(); // a port bound anew may be another one
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
