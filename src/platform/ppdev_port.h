#pragma once

#include "inpout.h"
#include "port_binder.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace vistrace {

// The system calls the parallel-port back end makes, replaceable so that tests can play a
// missing permission, a port held elsewhere or a device that goes away.
struct DeviceCalls {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int fd, unsigned long request, void* argument)> ioctl;
    std::function<int(int fd)> close;

    static DeviceCalls system();
};

// Where the machine's ports are listed and reached, and the calls that reach them: the
// system's own unless a test points them at a tree of its own.
struct PortPlaces {
    std::filesystem::path procRoot = "/proc/sys/dev/parport";
    std::filesystem::path devRoot = "/dev";
    DeviceCalls calls = DeviceCalls::system();
};

// Port I/O through Linux ppdev: the data register is written with PPWDATA and the status
// register read with PPRSTATUS on the /dev/parportN whose base address is the I/O address
// asked for. No root and no ioperm: the user needs read-write access to the device node,
// which Debian grants to the lp group.
//
// A port answers once bind has opened and claimed it, until release or the binding of another
// address; both of its registers go through that one device. Any other address is a bus with
// nothing on it: writes go nowhere and the status reads 255.
class PpdevPort final : public PortIo, public PortBinder {
public:
    // How long a claim may wait for a port that another program holds.
    static constexpr std::chrono::milliseconds kClaimLimit{2000};

    explicit PpdevPort(PortPlaces places = {}, std::chrono::milliseconds claimLimit = kClaimLimit);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    [[nodiscard]] std::vector<ParallelPort> machinePorts() const override;
    void bind(int baseAddress) override;
    void release() override;

    void Out32(std::int16_t address, int value) override;
    std::int16_t Inp32(std::int16_t address) override;

private:
    struct Device {
        int baseAddress;
        int fd;
        std::string path;
    };

    [[nodiscard]] int openDevice(const std::string& path, const std::string& where) const;
    void claim(int fd, const std::string& where) const;
    [[nodiscard]] const Device* deviceAt(int baseAddress) const;
    void control(const Device& device, unsigned long request, const char* requestName,
                 void* argument) const;

    PortPlaces places_;
    std::chrono::milliseconds claimLimit_;
    std::optional<Device> device_;
};

} // namespace vistrace
