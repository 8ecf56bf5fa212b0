#pragma once

#include "errors.h"
#include "linux_scheduler.h"
#include "ppdev_port.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrace {

struct ProbeOptions {
    bool help = false;
    bool simulated = false;
    std::optional<int> address; // a base address, 0 to 0xFFFF
};

// The options of the command line after the program name: one ADDRESS in hex as the Port
// Address list writes it (378, DC00), --simulated, --help or -h. Throws UsageError.
ProbeOptions parseProbeArguments(const std::vector<std::string>& arguments);

// Where the machine's ports are found, how they are reached, and whether the instrument would
// capture under real-time priority here; tests point these at fakes.
struct ProbeSystem {
    PortPlaces ports;
    std::function<RealtimeGrant()> realtimeGrant = machineRealtimeGrant;
};

inline constexpr int kProbeAnswered = 0;
inline constexpr int kProbeFailed = 1;
inline constexpr int kProbeUsage = 2;

// Runs the probe; returns the exit status: 0 when a converter answered, 1 when none did, the
// readings never changed or no port could be used, 2 on a usage error.
int runProbe(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             const ProbeSystem& system = {});

} // namespace vistrace
