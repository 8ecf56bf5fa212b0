#include "scope_window.h"

#include "adc.h"
#include "capture.h"
#include "errors.h"

#include <QComboBox>
#include <QMessageBox>

namespace vistrace {

ScopeWindow::ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepPriority& sweeps,
                         PortBinder* binder)
    : port_(port), counter_(counter), binder_(binder), sweeps_(sweeps) {}

void ScopeWindow::readport() {
    sweeps_.readport(state, port_, counter_);
}

std::uint8_t ScopeWindow::oneread() {
    return vistrace::oneread(state, port_);
}

TriggerOutcome ScopeWindow::waittrigger() {
    return vistrace::waittrigger(state, port_, trigger_slop_box->currentIndex(),
                                 [this] { pumpEvents(); });
}

// A port that cannot be reached does not end the program: the operator may pick another
// address, or fix the cause and pick this one again.
void ScopeWindow::bindPort() {
    if (binder_ == nullptr) {
        return;
    }
    try {
        binder_->bind(state.port_address);
    } catch (const PortUnreachable& error) {
        QMessageBox::warning(
            this, QStringLiteral("Vistrace"),
            QString::fromStdString(error.what()) +
                QStringLiteral("\n\nUntil the port is reached, sweeps at this address show a "
                               "flat line. Choose the address again in Port Address to retry."));
    }
}

} // namespace vistrace
