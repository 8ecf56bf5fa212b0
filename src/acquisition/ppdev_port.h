#pragma once

#include "inpout.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace vistrace {

// The system calls the parallel-port back end makes, replaceable so that tests can play a
// missing permission or a device that goes away.
struct DeviceCalls {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int fd, unsigned long request, void* argument)> ioctl;
    std::function<int(int fd)> close;

    static DeviceCalls system();
};

// Port I/O through Linux ppdev: the data register is written with PPWDATA and the status
// register read with PPRSTATUS on the /dev/parportN whose base address is the I/O address
// asked for. No root and no ioperm: the user needs read-write access to the device node,
// which Debian grants to the lp group.
class PpdevPort final : public PortIo {
public:
    explicit PpdevPort(std::filesystem::path procRoot = "/proc/sys/dev/parport",
                       std::filesystem::path devRoot = "/dev",
                       DeviceCalls calls = DeviceCalls::system());
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    void Out32(std::int16_t address, int value) override;
    std::int16_t Inp32(std::int16_t address) override;

private:
    struct Device {
        int fd;
        std::string path;
    };

    // Opens and claims the port on first use and keeps it for the program's life.
    Device& bind(int baseAddress);
    [[nodiscard]] std::filesystem::path findDevice(int baseAddress) const;
    void control(const Device& device, int baseAddress, unsigned long request,
                 const char* requestName, void* argument) const;

    std::filesystem::path procRoot_;
    std::filesystem::path devRoot_;
    DeviceCalls calls_;
    std::map<int, Device> devices_;
};

} // namespace vistrace
