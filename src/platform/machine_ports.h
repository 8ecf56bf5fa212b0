#pragma once

#include "port_binder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vistrace {

// The machine's parallel ports in parportN order, read from procRoot
// (/proc/sys/dev/parport); none when the directory is missing.
std::vector<ParallelPort> listParallelPorts(const std::filesystem::path& procRoot);

// One sentence on where this machine's ports are, or on why it has none and what to do.
std::string describeMachinePorts(const std::vector<ParallelPort>& ports);

} // namespace vistrace
