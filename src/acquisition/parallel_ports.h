#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistrace {

// One parallel port the kernel knows of.
struct ParallelPort {
    std::string name; // "parport0": the device is /dev/parport0
    int baseAddress;  // the data register's I/O address, 0 to 0xFFFF
};

// The machine's parallel ports in parportN order, read from procRoot
// (/proc/sys/dev/parport); none when the directory is missing.
std::vector<ParallelPort> listParallelPorts(const std::filesystem::path& procRoot);

// A port back end whose ports have to be reached before they answer: until bind has
// succeeded for an address, that address acts as a port with nothing connected.
class PortBinder {
public:
    virtual ~PortBinder() = default;

    [[nodiscard]] virtual std::vector<ParallelPort> machinePorts() const = 0;
    // Reaches the port whose data register is at address (a 16-bit pattern), or throws
    // PortUnreachable with the cause and the remedy. Binding a bound port does nothing.
    virtual void bind(std::int16_t address) = 0;

protected:
    PortBinder() = default;
    PortBinder(const PortBinder&) = default;
    PortBinder& operator=(const PortBinder&) = default;
};

// Addresses are 16-bit patterns in the instrument's signed arithmetic: 0xDC00 is -9216.
inline std::int16_t addressPattern(int baseAddress) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(baseAddress));
}
inline int baseAddressOf(int pattern) {
    return static_cast<std::uint16_t>(pattern);
}

// "DC00": how the Port Address list writes an address.
std::string addressItem(int baseAddress);
// "0xDC00": how messages write one.
std::string hexAddress(int baseAddress);

// One sentence on where this machine's ports are, or on why it has none and what to do.
std::string describeMachinePorts(const std::vector<ParallelPort>& ports);

} // namespace vistrace
