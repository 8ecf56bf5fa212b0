#include "ppdev_port.h"

#include "errors.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vistrace {
namespace {

std::string describe(int error) {
    return std::strerror(error);
}

// The first number of base-addr is the data register's address (the second is the ECP
// range, -1 when there is none).
bool baseAddressIs(const std::filesystem::path& baseAddrFile, int address) {
    std::ifstream file(baseAddrFile);
    long value = -1;
    return static_cast<bool>(file >> value) && value == address;
}

// "0x378" for 888: how addresses are shown to the operator.
std::string hexAddress(int address) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%X", static_cast<unsigned>(address));
    return text.data();
}

} // namespace

DeviceCalls DeviceCalls::system() {
    return DeviceCalls{
        [](const char* path, int flags) { return ::open(path, flags); },
        [](int fd, unsigned long request, void* argument) {
            return ::ioctl(fd, request, argument);
        },
        [](int fd) { return ::close(fd); },
    };
}

PpdevPort::PpdevPort(std::filesystem::path procRoot, std::filesystem::path devRoot,
                     DeviceCalls calls)
    : procRoot_(std::move(procRoot)), devRoot_(std::move(devRoot)), calls_(std::move(calls)) {}

PpdevPort::~PpdevPort() {
    for (auto& [address, device] : devices_) {
        calls_.ioctl(device.fd, PPRELEASE, nullptr);
        calls_.close(device.fd);
    }
}

std::filesystem::path PpdevPort::findDevice(int baseAddress) const {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot_, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("parport", 0) == 0 &&
            baseAddressIs(entry.path() / "base-addr", baseAddress)) {
            return devRoot_ / name;
        }
    }
    throw PortError("No parallel port at I/O address " + hexAddress(baseAddress));
}

PpdevPort::Device& PpdevPort::bind(int baseAddress) {
    if (auto found = devices_.find(baseAddress); found != devices_.end()) {
        return found->second;
    }
    const std::string path = findDevice(baseAddress).string();
    const std::string where =
        path + " (parallel port at I/O address " + hexAddress(baseAddress) + ")";
    const int fd = calls_.open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM) {
            throw PortError("Permission denied opening " + where +
                            ". Add your user to the lp group (sudo adduser $USER lp), then log "
                            "out and in again.");
        }
        if (error == ENOENT) {
            throw PortError("Cannot open " + where + ": " + describe(error) +
                            ". Load the ppdev module (sudo modprobe ppdev).");
        }
        throw PortError("Cannot open " + where + ": " + describe(error));
    }
    if (calls_.ioctl(fd, PPCLAIM, nullptr) < 0) {
        const int error = errno;
        calls_.close(fd);
        throw PortError("Cannot claim " + where + ": " + describe(error));
    }
    return devices_.emplace(baseAddress, Device{fd, path}).first->second;
}

void PpdevPort::control(const Device& device, int baseAddress, unsigned long request,
                        const char* requestName, void* argument) const {
    if (calls_.ioctl(device.fd, request, argument) < 0) {
        const int error = errno;
        throw PortError("Parallel port " + device.path + " (I/O address " +
                        hexAddress(baseAddress) + ") failed: " + requestName + ": " +
                        describe(error));
    }
}

void PpdevPort::Out32(std::int16_t address, int value) {
    const Device& device = bind(address);
    auto data = static_cast<unsigned char>(value & 0xFF);
    control(device, address, PPWDATA, "PPWDATA", &data);
}

std::int16_t PpdevPort::Inp32(std::int16_t address) {
    // Only status registers are read, and a status register sits one above its port's base.
    const int baseAddress = address - 1;
    const Device& device = bind(baseAddress);
    unsigned char status = 0;
    control(device, baseAddress, PPRSTATUS, "PPRSTATUS", &status);
    return status;
}

} // namespace vistrace
