#include "machine_ports.h"

#include "errors.h"
#include "port_address.h"

#include <algorithm>
#include <fstream>

namespace vistrace {
namespace {

// The first number of base-addr is the data register's address (the second is the ECP
// range, -1 when there is none).
bool readBaseAddress(const std::filesystem::path& baseAddrFile, int& address) {
    std::ifstream file(baseAddrFile);
    long value = -1;
    if (!(file >> value) || value < 0 || value > 0xFFFF) {
        return false;
    }
    address = static_cast<int>(value);
    return true;
}

// parport10 comes after parport9.
bool parportNumber(const std::string& name, unsigned long& number) {
    constexpr std::string_view kPrefix = "parport";
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0 ||
        !std::all_of(name.begin() + kPrefix.size(), name.end(),
                     [](char digit) { return digit >= '0' && digit <= '9'; })) {
        return false;
    }
    number = std::stoul(name.substr(kPrefix.size()));
    return true;
}

} // namespace

std::vector<ParallelPort> listParallelPorts(const std::filesystem::path& procRoot) {
    std::vector<std::pair<unsigned long, ParallelPort>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const std::string name = entry.path().filename().string();
        unsigned long number = 0;
        int address = 0;
        if (parportNumber(name, number) && readBaseAddress(entry.path() / "base-addr", address)) {
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

std::optional<int> firstUsablePort(const std::vector<ParallelPort>& ports,
                                   const std::filesystem::path& procRoot,
                                   const std::filesystem::path& devRoot, const DeviceCalls& calls,
                                   std::ostream& out) {
    std::optional<int> usable;
    out << "Parallel ports of this machine:\n";
    for (const ParallelPort& port : ports) {
        out << "  " << (devRoot / port.name).string() << "  " << hexAddress(port.baseAddress)
            << "  ";
        try {
            PpdevPort(procRoot, devRoot, calls).bind(port.baseAddress);
            out << "can be opened and claimed\n";
            usable = usable.value_or(port.baseAddress);
        } catch (const PortUnreachable& error) {
            out << "cannot be used: " << error.what() << '\n';
        }
    }
    return usable;
}

} // namespace vistrace
