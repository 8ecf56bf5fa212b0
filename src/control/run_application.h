#pragma once

#include "inpout.h"
#include "port_binder.h"
#include "sweep_capture.h"

namespace vistrace {

// Runs the instrument on the given port back end, counter, sweep capture and the back end's
// binder until the window closes, the operator chooses Exit, or an error ends it; returns the
// process exit status. The program takes no command line: argv[0] alone is passed on to Qt.
int runApplication(char* programName, PortIo& port, PerformanceCounter& counter,
                   SweepCapture& sweeps, PortBinder& binder);

} // namespace vistrace
