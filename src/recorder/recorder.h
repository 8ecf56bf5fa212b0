#pragma once

#include "ppdev_port.h"
#include "sweep_capture.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace vistrace {

// Where the machine's ports are, how its sweeps are captured, and whether a signal asked the
// program to end; tests point these at fakes.
struct RecorderSystem {
    PortPlaces ports;
    // Sweeps on the machine's port: real-time where granted, as vistrace's.
    std::function<std::unique_ptr<SweepCapture>(PerformanceCounter& clock)> machineSweeps;
    // SIGINT or SIGTERM once either has come, else 0.
    std::function<int()> endingSignal = [] { return 0; };
};

inline constexpr int kRecorderDone = 0;
inline constexpr int kRecorderFailed = 1;
inline constexpr int kRecorderUsageError = 2;
inline constexpr int kRecorderNoTrigger = 3;

// Runs vistrace-capture; returns its exit status: 0 done, 1 the port, a fault or a file,
// 2 a usage error, 3 no trigger in time, 128 and the signal's number when one ended it.
int runRecorder(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                const RecorderSystem& system = {});

} // namespace vistrace
