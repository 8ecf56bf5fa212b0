#pragma once

#include <string>
#include <vector>

namespace vistrace {

// One parallel port the machine has.
struct ParallelPort {
    std::string name; // "parport0": the device is /dev/parport0
    int baseAddress;  // the data register's I/O address, 0 to 0xFFFF
};

// How a port back end reaches its ports before they answer: until bind has succeeded for an
// address, that address acts as a port with nothing connected. One port is held at a time, so
// that the one the operator left is free again for a printer.
class PortBinder {
public:
    virtual ~PortBinder() = default;

    // The machine's ports, to be offered in the Port Address list.
    [[nodiscard]] virtual std::vector<ParallelPort> machinePorts() const = 0;
    // Lets go of the port held at any other address, then reaches the port whose data register
    // is at baseAddress, or throws PortUnreachable with the cause and the remedy. Binding the
    // bound port does nothing.
    virtual void bind(int baseAddress) = 0;
    // Lets go of the bound port, one that failed included: its address then acts as a port
    // with nothing connected until it is bound again.
    virtual void release() = 0;

protected:
    PortBinder() = default;
    PortBinder(const PortBinder&) = default;
    PortBinder& operator=(const PortBinder&) = default;
};

// The binder of a back end whose ports answer from the start, as the simulator's do: nothing
// to reach, and no ports of the machine to offer.
class NothingToBind final : public PortBinder {
public:
    [[nodiscard]] std::vector<ParallelPort> machinePorts() const override { return {}; }
    void bind(int /*baseAddress*/) override {}
    void release() override {}
};

} // namespace vistrace
