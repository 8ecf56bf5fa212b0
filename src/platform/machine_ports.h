#pragma once

#include "port_binder.h"
#include "ppdev_port.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrace {

// The machine's parallel ports in parportN order, read from procRoot
// (/proc/sys/dev/parport); none when the directory is missing.
std::vector<ParallelPort> listParallelPorts(const std::filesystem::path& procRoot);

// One sentence on where this machine's ports are, or on why it has none and what to do.
std::string describeMachinePorts(const std::vector<ParallelPort>& ports);

// Tries each port in turn, each on a back end of its own that is released again before the
// next, and lists it on out with whether it can be opened and claimed, or why not; returns
// the first that can.
std::optional<int> firstUsablePort(const std::vector<ParallelPort>& ports, const PortPlaces& places,
                                   std::ostream& out);

} // namespace vistrace
