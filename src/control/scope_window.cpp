#include "scope_window.h"

#include "adc.h"
#include "capture.h"

#include <QComboBox>

namespace vistrace {

ScopeWindow::ScopeWindow(PortIo& port, PerformanceCounter& counter)
    : port_(port), counter_(counter) {}

void ScopeWindow::readport() {
    vistrace::readport(state, port_, counter_);
}

std::uint8_t ScopeWindow::oneread() {
    return vistrace::oneread(state, port_);
}

TriggerOutcome ScopeWindow::waittrigger() {
    return vistrace::waittrigger(state, port_, trigger_slop_box->currentIndex(),
                                 [this] { pumpEvents(); });
}

} // namespace vistrace
