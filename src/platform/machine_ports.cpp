#include "machine_ports.h"

#include "errors.h"
#include "port_address.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <memory>
#include <string_view>

namespace vistrace {
namespace {

// The text comes from outside: only decimal digits that fit up to limit are a number (no
// sign, no space, no "0x", nothing after them).
bool decimal(std::string_view text, unsigned long limit, unsigned long& value) {
    const char* first = std::to_address(text.begin());
    const char* end = std::to_address(text.end());
    const auto [stop, error] = std::from_chars(first, end, value);
    return error == std::errc{} && stop == end && value <= limit;
}

// The first number of base-addr is the data register's address, in decimal as the kernel
// writes it (the second is the ECP range, -1 when there is none).
bool readBaseAddress(const std::filesystem::path& baseAddrFile, int& address) {
    std::ifstream file(baseAddrFile);
    std::string first;
    unsigned long value = 0;
    if (!(file >> first) || !decimal(first, 0xFFFF, value)) {
        return false;
    }
    address = static_cast<int>(value);
    return true;
}

// parport10 comes after parport9.
bool parportNumber(std::string_view name, unsigned long& number) {
    constexpr std::string_view kPrefix = "parport";
    return name.starts_with(kPrefix) &&
           decimal(name.substr(kPrefix.size()), std::numeric_limits<unsigned long>::max(), number);
}

} // namespace

std::vector<ParallelPort> listParallelPorts(const std::filesystem::path& procRoot) {
    std::vector<std::pair<unsigned long, ParallelPort>> found;
    std::error_code error;
    // Stepped by hand: the range-for's step throws when the directory cannot be read on.
    for (std::filesystem::directory_iterator entry(procRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        unsigned long number = 0;
        int address = 0;
        if (parportNumber(name, number) && readBaseAddress(entry->path() / "base-addr", address)) {
            found.emplace_back(number, ParallelPort{name, address});
        }
    }
    std::ranges::sort(found, {}, &std::pair<unsigned long, ParallelPort>::first);
    std::vector<ParallelPort> ports;
    ports.reserve(found.size());
    for (auto& [number, port] : found) {
        ports.push_back(std::move(port));
    }
    return ports;
}

std::string describeMachinePorts(const std::vector<ParallelPort>& ports) {
    if (ports.empty()) {
        return "This machine has no parallel port that the kernel knows of: enable the port in "
               "the firmware set-up, or load its driver (sudo modprobe parport_pc).";
    }
    std::string addresses;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (i > 0) {
            addresses += i + 1 == ports.size() ? " and " : ", ";
        }
        addresses += hexAddress(ports[i].baseAddress);
    }
    return (ports.size() == 1 ? "This machine's parallel port is at " + addresses
                              : "This machine's parallel ports are at " + addresses) +
           ".";
}

std::optional<int> firstUsablePort(const std::vector<ParallelPort>& ports, const PortPlaces& places,
                                   std::ostream& out) {
    std::optional<int> usable;
    out << "Parallel ports of this machine:\n";
    for (const ParallelPort& port : ports) {
        out << "  " << (places.devRoot / port.name).string() << "  " << hexAddress(port.baseAddress)
            << "  ";
        try {
            PpdevPort(places).bind(port.baseAddress);
            out << "can be opened and claimed\n";
            usable = usable.value_or(port.baseAddress);
        } catch (const PortUnreachable& error) {
            out << "cannot be used: " << error.what() << '\n';
        }
    }
    return usable;
}

} // namespace vistrace
