#pragma once

#include "port_binder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vistrace {

struct PortChoice {
    std::string item;
    std::int16_t port_address;
};

// What the Port Address list lacks, to be appended in this order: the three legacy addresses
// in their fixed order, then every other port of this machine in parportN order (a port on a
// card sits at 0xDC00 or the like); none of them twice.
std::vector<PortChoice> newPortChoices(const std::vector<PortChoice>& offered,
                                       const std::vector<ParallelPort>& machinePorts);

} // namespace vistrace
