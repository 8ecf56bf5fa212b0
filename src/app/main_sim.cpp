#include "monotonic_counter.h"
#include "port_binder.h"
#include "run_application.h"
#include "simulated_converter.h"
#include "sweep_capture.h"

// The instrument with a simulated converter on a virtual port, for trying it without the
// hardware. It is the demonstration and what the test suite runs, so it never takes
// real-time priority from the machine.
int main(int /*argc*/, char** argv) {
    vistrace::MonotonicCounter counter;
    vistrace::SimulatedConverter port(counter, vistrace::SimulatedConverter::Settings{});
    vistrace::NormalPriority sweeps;
    vistrace::NothingToBind binder;
    return vistrace::runApplication(argv[0], port, counter, sweeps, binder);
}
