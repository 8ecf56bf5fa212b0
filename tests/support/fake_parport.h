#pragma once

#include "ppdev_port.h"

#include <cerrno>
#include <fstream>
#include <linux/ppdev.h>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace vistrace::testing {

// A fake /proc/sys/dev/parport and /dev in a temporary directory, and a fake kernel behind
// DeviceCalls: descriptors from 101, a log of calls, the descriptors open, the errno asked of
// each call, and a claim held elsewhere, asleep until a signal.
class FakeParport {
public:
    FakeParport() : root_(makeRoot()) { std::filesystem::create_directories(proc()); }
    ~FakeParport() { std::filesystem::remove_all(root_); }
    FakeParport(const FakeParport&) = delete;
    FakeParport& operator=(const FakeParport&) = delete;

    void addPort(const std::string& name, int baseAddress, int ecpAddress = -1) const {
        addEntry(name, std::to_string(baseAddress) + '\t' + std::to_string(ecpAddress) + '\n');
    }
    void addEntry(const std::string& name, const std::string& baseAddr) const {
        std::filesystem::create_directories(proc() / name);
        std::ofstream(proc() / name / "base-addr") << baseAddr;
    }
    [[nodiscard]] std::filesystem::path proc() const { return root_ / "proc"; }
    [[nodiscard]] std::filesystem::path dev() const { return root_ / "dev"; }
    PortPlaces places() { return {proc(), dev(), calls()}; }

    DeviceCalls calls() {
        return {[this](const char* path, int) {
                    log.push_back("open " + std::filesystem::path(path).filename().string());
                    errno = openErrno;
                    return openErrno != 0 ? -1 : *openFds.insert(nextFd_++).first;
                },
                [this](int fd, unsigned long request, void* argument) {
                    log.push_back(std::to_string(fd) + " " + name(request) +
                                  given(request, argument));
                    if (request == PPCLAIM && claimHeld) {
                        return ::pause();
                    }
                    if (request == PPRSTATUS) {
                        *static_cast<unsigned char*>(argument) = 0x78;
                    }
                    errno = errnos[request];
                    return errno != 0 ? -1 : 0;
                },
                [this](int fd) {
                    log.push_back(std::to_string(fd) + " close");
                    return openFds.erase(fd) == 1 ? 0 : -1;
                }};
    }

    int openErrno = 0;
    std::map<unsigned long, int> errnos; // by request
    bool claimHeld = false;
    std::vector<std::string> log;
    std::set<int> openFds;

private:
    static std::filesystem::path makeRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistrace-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : throw std::runtime_error("mkdtemp");
    }
    static std::string name(unsigned long request) { // clang-format off
        return std::map<unsigned long, std::string>{{PPCLAIM, "PPCLAIM"}, {PPRELEASE, "PPRELEASE"},
            {PPWDATA, "PPWDATA"}, {PPRSTATUS, "PPRSTATUS"}, {PPDATADIR, "PPDATADIR"}}.at(request);
    } // clang-format on
    // What the program hands the kernel: the byte written, and the data lines' direction.
    static std::string given(unsigned long request, const void* argument) {
        return request == PPWDATA
                   ? " " + std::to_string(*static_cast<const unsigned char*>(argument))
               : request == PPDATADIR ? " " + std::to_string(*static_cast<const int*>(argument))
                                      : "";
    }

    std::filesystem::path root_;
    int nextFd_ = 101;
};

} // namespace vistrace::testing
