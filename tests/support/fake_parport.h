#pragma once

#include "ppdev_port.h"

#include <set>
#include <string>
#include <vector>

namespace vistrace::testing {

// A fake /proc/sys/dev/parport and /dev in a temporary directory, and a fake kernel behind
// DeviceCalls: it hands out descriptors from 101, logs every call, tracks the descriptors
// left open, fails the calls a test asks it to, and can hold a claim the way the kernel
// does for a port held elsewhere: asleep until a signal interrupts it.
class FakeParport {
public:
    FakeParport();
    ~FakeParport();
    FakeParport(const FakeParport&) = delete;
    FakeParport& operator=(const FakeParport&) = delete;

    void addPort(const std::string& name, int baseAddress);
    [[nodiscard]] std::filesystem::path proc() const { return root_ / "proc"; }
    [[nodiscard]] std::filesystem::path dev() const { return root_ / "dev"; }
    DeviceCalls calls();

    int openErrno = 0;
    int claimErrno = 0;
    bool claimHeld = false;
    std::vector<std::string> log;
    std::set<int> openFds;

private:
    std::filesystem::path root_;
    int nextFd_ = 101;
};

} // namespace vistrace::testing
