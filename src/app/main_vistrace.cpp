#include "linux_scheduler.h"
#include "monotonic_counter.h"
#include "ppdev_port.h"
#include "realtime_sweeps.h"
#include "run_application.h"

// The instrument on the machine's own parallel port, sweeping under real-time priority where
// the system grants it. The ppdev port is its own binder: it reaches the port it then drives.
int main(int /*argc*/, char** argv) {
    vistrace::MonotonicCounter counter;
    vistrace::PpdevPort port;
    vistrace::LinuxScheduler scheduler;
    vistrace::RealtimeSweeps sweeps(scheduler, counter, vistrace::readRealtimeLimits());
    return vistrace::runApplication(argv[0], port, counter, sweeps, port);
}
