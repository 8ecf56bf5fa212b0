#include "monotonic_counter.h"
#include "ppdev_port.h"
#include "run_application.h"

// The instrument on the machine's own parallel port.
int main(int /*argc*/, char** argv) {
    vistrace::MonotonicCounter counter;
    vistrace::PpdevPort port;
    return vistrace::runApplication(argv[0], port, counter, &port);
}
