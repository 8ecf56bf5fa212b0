#include "monotonic_counter.h"
#include "run_application.h"
#include "simulated_converter.h"

// The instrument with a simulated converter on a virtual port, for trying it without the
// hardware.
int main(int /*argc*/, char** argv) {
    vistrace::MonotonicCounter counter;
    vistrace::SimulatedConverter port(counter, vistrace::SimulatedConverter::Settings{});
    return vistrace::runApplication(argv[0], port, counter);
}
