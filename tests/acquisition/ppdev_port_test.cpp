#include "errors.h"
#include "ppdev_port.h"

#include <cerrno>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/ppdev.h>
#include <map>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <tuple>
#include <vector>

namespace vistrace {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

const std::map<unsigned long, std::string> kRequestNames{
    {PPCLAIM, "PPCLAIM"}, {PPRELEASE, "PPRELEASE"}, {PPWDATA, "PPWDATA"}, {PPRSTATUS, "PPRSTATUS"}};

// A fake /proc/sys/dev/parport (parport0 at 0x278, parport1 at 0x378 with its ECP range at
// 0x778) and a fake kernel that hands out descriptors from 101, logs every call and fails the
// calls a case asks it to.
struct PpdevPortTest : ::testing::Test {
    PpdevPortTest() {
        std::string pattern = (fs::temp_directory_path() / "vistrace-ppdev-XXXXXX").string();
        root = ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern)
                                                    : throw std::runtime_error("mkdtemp failed");
        for (const auto& [name, baseAddr] :
             {std::pair{"parport0", "632\t-1\n"}, {"parport1", "888\t1912\n"}}) {
            fs::create_directories(root / "proc" / name);
            std::ofstream(root / "proc" / name / "base-addr") << baseAddr;
        }
    }
    ~PpdevPortTest() override { fs::remove_all(root); }

    [[nodiscard]] PpdevPort port() const { return PpdevPort(root / "proc", root / "dev", calls); }

    fs::path root;
    int openErrno = 0;
    int ioctlErrno = 0;
    int nextFd = 101;
    std::vector<std::string> log;
    DeviceCalls calls{[this](const char* path, int) {
                          log.push_back("open " + fs::path(path).filename().string());
                          errno = openErrno;
                          return openErrno != 0 ? -1 : nextFd++;
                      },
                      [this](int fd, unsigned long request, void* argument) {
                          auto* byte = static_cast<unsigned char*>(argument);
                          log.push_back(std::to_string(fd) + " " + kRequestNames.at(request) +
                                        (request == PPWDATA ? " " + std::to_string(*byte) : ""));
                          if (request == PPRSTATUS) {
                              *byte = 0x78;
                          }
                          errno = ioctlErrno;
                          return ioctlErrno != 0 ? -1 : 0;
                      },
                      [this](int fd) {
                          log.push_back(std::to_string(fd) + " close");
                          return 0;
                      }};
};

TEST_F(PpdevPortTest, BindsEachDeviceWhoseFirstBaseAddressIsTheDataRegisterOnceForItsLife) {
    {
        PpdevPort ports = port();
        ports.Out32(632, 255);
        ports.Out32(888, 0x1FD);
        EXPECT_EQ(ports.Inp32(889), 0x78);
        ports.Out32(888, 254);
        EXPECT_THROW(ports.Out32(1912, 255), PortError) << "an ECP range is not a port";
        EXPECT_THROW(PpdevPort(root / "none", root / "dev", calls).Out32(0x378, 255), PortError);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"open parport0", "101 PPCLAIM", "101 PPWDATA 255",
                                             "open parport1", "102 PPCLAIM", "102 PPWDATA 253",
                                             "102 PPRSTATUS", "102 PPWDATA 254", "101 PPRELEASE",
                                             "101 close", "102 PPRELEASE", "102 close"}));
}

// The errors an operator can act on get their remedy; every failure names the device.
TEST_F(PpdevPortTest, FailedOpenClaimOrTransferNamesTheDeviceAndTheRemedy) {
    const auto device = HasSubstr((root / "dev" / "parport1").string());
    for (const auto& [open, ioctl, remedy] :
         {std::tuple{EACCES, 0, "lp group"}, {ENOENT, 0, "modprobe ppdev"}, {0, ENOTTY, ""}}) {
        openErrno = open;
        ioctlErrno = ioctl;
        EXPECT_THAT([&] { port().Out32(0x378, 255); },
                    ThrowsMessage<PortError>(AllOf(device, HasSubstr(remedy))));
    }
    EXPECT_EQ(log.back(), "101 close") << "a device that cannot be claimed is closed";
    ioctlErrno = 0;
    PpdevPort ports = port();
    ports.Out32(0x378, 254);
    ioctlErrno = ENODEV;
    EXPECT_THAT([&] { ports.Inp32(0x379); }, ThrowsMessage<PortError>(device));
}

} // namespace
} // namespace vistrace
