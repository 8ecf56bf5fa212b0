#include "scope_window.h"

#include "adc.h"
#include "capture.h"

#include <QComboBox>

namespace vistrace {

ScopeWindow::ScopeWindow(PortIo& port, PerformanceCounter& counter)
    : ScopeWindow(port, counter, normalPriority_) {}

ScopeWindow::ScopeWindow(PortIo& port, PerformanceCounter& counter, SweepPriority& sweeps)
    : port_(port), counter_(counter), sweeps_(sweeps) {}

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

} // namespace vistrace
