#include "port_choices.h"

#include "instrument_tables.h"
#include "port_address.h"

#include <algorithm>

namespace vistrace {

std::vector<PortChoice> newPortChoices(const std::vector<PortChoice>& offered,
                                       const std::vector<ParallelPort>& machinePorts) {
    std::vector<PortChoice> fresh;
    const auto offer = [&](std::string item, std::int16_t pattern) {
        const auto atPattern = [pattern](const PortChoice& choice) {
            return choice.port_address == pattern;
        };
        if (std::ranges::none_of(offered, atPattern) && std::ranges::none_of(fresh, atPattern)) {
            fresh.push_back({std::move(item), pattern});
        }
    };
    for (const PortRow& row : kPortRows) {
        offer(row.item, row.port_address);
    }
    for (const ParallelPort& port : machinePorts) {
        offer(addressItem(port.baseAddress), addressPattern(port.baseAddress));
    }
    return fresh;
}

} // namespace vistrace
