#pragma once

#include "inpout.h"
#include "parallel_ports.h"
#include "sweep_priority.h"

namespace vistrace {

// Runs the instrument on the given port back end, counter and sweep priority until the window
// closes, the operator chooses Exit, or an error ends it; returns the process exit status. The
// program takes no command line: argv[0] alone is passed on to Qt. A back end that has to
// reach the machine's ports passes its binder too.
int runApplication(char* programName, PortIo& port, PerformanceCounter& counter,
                   SweepPriority& sweeps, PortBinder* binder = nullptr);

} // namespace vistrace
