#include "port_choices.h"

#include "selector_tables.h"

#include <algorithm>
#include <iterator>

namespace vistrace {

std::vector<PortChoice> portChoices(const std::vector<ParallelPort>& machinePorts) {
    std::vector<PortChoice> choices;
    choices.reserve(kPortRows.size() + machinePorts.size());
    std::ranges::transform(kPortRows, std::back_inserter(choices), [](const PortRow& row) {
        return PortChoice{row.item, row.port_address};
    });
    for (const ParallelPort& port : machinePorts) {
        const std::int16_t pattern = addressPattern(port.baseAddress);
        if (std::ranges::none_of(choices, [pattern](const PortChoice& choice) {
                return choice.port_address == pattern;
            })) {
            choices.push_back({addressItem(port.baseAddress), pattern});
        }
    }
    return choices;
}

} // namespace vistrace
