#include "ppdev_port.h"

#include "errors.h"
#include "interruptible_call.h"
#include "machine_ports.h"
#include "port_address.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vistrace {
namespace {

// What the status register of a port with nothing on it reads.
constexpr std::int16_t kUnconnectedBus = 255;

std::string describe(int error) {
    return std::strerror(error);
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

PpdevPort::PpdevPort(PortPlaces places, std::chrono::milliseconds claimLimit)
    : places_(std::move(places)), claimLimit_(claimLimit) {}

PpdevPort::~PpdevPort() {
    release();
}

std::vector<ParallelPort> PpdevPort::machinePorts() const {
    return listParallelPorts(places_.procRoot);
}

// The machine's ports are read afresh on every try, so that a port whose driver the
// operator has just loaded is found without a restart.
void PpdevPort::bind(int baseAddress) {
    if (deviceAt(baseAddress) != nullptr) {
        return;
    }
    release();
    const std::vector<ParallelPort> ports = machinePorts();
    const auto port = std::ranges::find(ports, baseAddress, &ParallelPort::baseAddress);
    if (port == ports.end()) {
        throw PortUnreachable("No parallel port at I/O address " + hexAddress(baseAddress) + ". " +
                              describeMachinePorts(ports));
    }
    const std::string path = (places_.devRoot / port->name).string();
    const std::string where =
        path + " (parallel port at I/O address " + hexAddress(baseAddress) + ")";
    const int fd = openDevice(path, where);
    try {
        claim(fd, where);
        // Ports on cards may come up with their data lines as inputs.
        int forward = 0;
        if (places_.calls.ioctl(fd, PPDATADIR, &forward) < 0) {
            const int error = errno;
            throw PortUnreachable("Cannot drive the data lines of " + where + ": " +
                                  describe(error));
        }
    } catch (const PortUnreachable&) {
        places_.calls.close(fd);
        throw;
    }
    device_ = Device{baseAddress, fd, path};
}

// A port that failed may refuse the release too; closing the device frees it all the same.
void PpdevPort::release() {
    if (device_) {
        places_.calls.ioctl(device_->fd, PPRELEASE, nullptr);
        places_.calls.close(device_->fd);
        device_.reset();
    }
}

int PpdevPort::openDevice(const std::string& path, const std::string& where) const {
    const int fd = places_.calls.open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        return fd;
    }
    const int error = errno;
    if (error == EACCES || error == EPERM) {
        throw PortUnreachable("Permission denied opening " + where +
                              ". Add your user to the lp group (sudo adduser $USER lp), then "
                              "log out and in again.");
    }
    if (error == ENOENT) {
        throw PortUnreachable("Cannot open " + where + ": " + describe(error) +
                              ". Load the ppdev module (sudo modprobe ppdev).");
    }
    throw PortUnreachable("Cannot open " + where + ": " + describe(error));
}

// The kernel queues a claim on a port held elsewhere until it is free, which may be never.
// Closing the device after an interrupted claim takes it out of that queue.
void PpdevPort::claim(int fd, const std::string& where) const {
    const TimedCall claimed =
        callWithTimeLimit([&] { return places_.calls.ioctl(fd, PPCLAIM, nullptr); }, claimLimit_);
    if (claimed.result >= 0) {
        return;
    }
    if (claimed.timedOut) {
        throw PortUnreachable(
            where + " is busy: another program holds it, most likely a print job or the lp "
                    "printer driver. Let the print job finish or cancel it, or unload the "
                    "driver (sudo modprobe -r lp).");
    }
    throw PortUnreachable("Cannot claim " + where + ": " + describe(claimed.error));
}

const PpdevPort::Device* PpdevPort::deviceAt(int baseAddress) const {
    return device_ && device_->baseAddress == baseAddress ? &*device_ : nullptr;
}

void PpdevPort::control(const Device& device, unsigned long request, const char* requestName,
                        void* argument) const {
    if (places_.calls.ioctl(device.fd, request, argument) < 0) {
        const int error = errno;
        throw PortError("Parallel port " + device.path + " (I/O address " +
                        hexAddress(device.baseAddress) + ") failed: " + requestName + ": " +
                        describe(error));
    }
}

void PpdevPort::Out32(std::int16_t address, int value) {
    const Device* device = deviceAt(baseAddressOf(address));
    if (device == nullptr) {
        return;
    }
    auto data = static_cast<unsigned char>(value & 0xFF);
    control(*device, PPWDATA, "PPWDATA", &data);
}

std::int16_t PpdevPort::Inp32(std::int16_t address) {
    // Only status registers are read. The pattern wraps, as the port library's 16-bit
    // address does: the status register of the port at 0xFFFF is at 0.
    const Device* device = deviceAt(baseAddressOf(address - kStatusRegisterOffset));
    if (device == nullptr) {
        return kUnconnectedBus;
    }
    unsigned char status = 0;
    control(*device, PPRSTATUS, "PPRSTATUS", &status);
    return status;
}

} // namespace vistrace
