#include "errors.h"
#include "ppdev_port.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <string>
#include <sys/ioctl.h>
#include <system_error>
#include <vector>

namespace vistrace {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;

// Stands in for the kernel: hands out descriptors, notes every request and can fail them.
struct FakeKernel {
    struct Request {
        int fd;
        unsigned long request;
        bool operator==(const Request&) const = default;
    };

    DeviceCalls calls() {
        return DeviceCalls{
            [this](const char* path, int) {
                opened.emplace_back(path);
                if (openErrno != 0) {
                    errno = openErrno;
                    return -1;
                }
                return 100 + static_cast<int>(opened.size());
            },
            [this](int fd, unsigned long request, void* argument) {
                requests.push_back({fd, request});
                if (ioctlErrno != 0) {
                    errno = ioctlErrno;
                    return -1;
                }
                if (request == PPWDATA) {
                    written.push_back(*static_cast<unsigned char*>(argument));
                } else if (request == PPRSTATUS) {
                    *static_cast<unsigned char*>(argument) = status;
                }
                return 0;
            },
            [this](int fd) {
                closed.push_back(fd);
                releasedBeforeClose.push_back(
                    std::ranges::count(requests, Request{fd, PPRELEASE}) == 1);
                return 0;
            },
        };
    }

    int openErrno = 0;
    int ioctlErrno = 0;
    unsigned char status = 0x78;
    std::vector<std::string> opened;
    std::vector<Request> requests;
    std::vector<unsigned char> written;
    std::vector<int> closed;
    std::vector<bool> releasedBeforeClose;
};

struct PpdevPortTest : ::testing::Test {
    PpdevPortTest() {
        std::string pattern = (fs::temp_directory_path() / "vistrace-ppdev-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        }
        root = pattern;
        fs::create_directories(root / "dev");
        addPort("parport0", "632\t-1\n");
        addPort("parport1", "888\t1912\n");
        addPort("parport2", "8880\t-1\n");
        fs::create_directories(proc() / "default");
        std::ofstream(proc() / "default" / "timeslice") << "200\n";
    }
    ~PpdevPortTest() override { fs::remove_all(root); }

    fs::path proc() const { return root / "proc"; }
    std::string device(const char* name) const { return (root / "dev" / name).string(); }
    void addPort(const char* name, const char* baseAddr) {
        fs::create_directories(proc() / name);
        std::ofstream(proc() / name / "base-addr") << baseAddr;
        std::ofstream(root / "dev" / name);
    }

    fs::path root;
    FakeKernel kernel;
};

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PortError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no PortError";
    return {};
}

TEST_F(PpdevPortTest, BindsTheDeviceWhoseFirstBaseAddressIsTheDataRegister) {
    PpdevPort port(proc(), root / "dev", kernel.calls());
    port.Out32(888, 0x1FD);
    EXPECT_EQ(port.Inp32(889), 0x78);
    port.Out32(632, 255);

    EXPECT_EQ(kernel.opened, (std::vector{device("parport1"), device("parport0")}));
    EXPECT_EQ(kernel.written, (std::vector<unsigned char>{0xFD, 0xFF}));
    EXPECT_EQ(
        kernel.requests,
        (std::vector<FakeKernel::Request>{
            {101, PPCLAIM}, {101, PPWDATA}, {101, PPRSTATUS}, {102, PPCLAIM}, {102, PPWDATA}}));

    EXPECT_EQ(messageOf([&] { port.Out32(1912, 255); }), "No parallel port at I/O address 0x778");
    EXPECT_EQ(messageOf([&] { port.Inp32(0x3BD); }), "No parallel port at I/O address 0x3BC");
}

TEST_F(PpdevPortTest, NoPortAtTheAddressIsReportedOnTheFirstAccess) {
    fs::remove_all(proc() / "parport1");
    PpdevPort port(proc(), root / "dev", kernel.calls());
    EXPECT_EQ(messageOf([&] { port.Out32(0x378, 255); }), "No parallel port at I/O address 0x378");
    EXPECT_EQ(messageOf([&] { port.Inp32(0x379); }), "No parallel port at I/O address 0x378");

    PpdevPort withoutParport(root / "no-such-dir", root / "dev", kernel.calls());
    EXPECT_EQ(messageOf([&] { withoutParport.Out32(0x378, 255); }),
              "No parallel port at I/O address 0x378");
    EXPECT_TRUE(kernel.opened.empty());
}

TEST_F(PpdevPortTest, PermissionDeniedNamesTheDeviceAndTheLpGroup) {
    kernel.openErrno = EACCES;
    PpdevPort port(proc(), root / "dev", kernel.calls());
    EXPECT_THAT(messageOf([&] { port.Out32(0x378, 255); }),
                AllOf(HasSubstr(device("parport1")), HasSubstr("lp group")));
}

TEST_F(PpdevPortTest, DeviceThatCannotBeClaimedIsReportedAndClosed) {
    DeviceCalls calls = DeviceCalls::system();
    int closes = 0;
    calls.close = [&closes, close = calls.close](int fd) {
        ++closes;
        return close(fd);
    };
    PpdevPort port(proc(), root / "dev", calls);
    EXPECT_THAT(messageOf([&] { port.Out32(0x378, 255); }),
                AllOf(HasSubstr(device("parport1")), HasSubstr(std::strerror(ENOTTY))));
    EXPECT_EQ(closes, 1);
}

TEST_F(PpdevPortTest, DeviceLostMidUseNamesDeviceAddressAndCause) {
    PpdevPort port(proc(), root / "dev", kernel.calls());
    port.Out32(0x378, 254);
    kernel.ioctlErrno = ENODEV;
    EXPECT_THAT(
        messageOf([&] { port.Inp32(0x379); }),
        AllOf(HasSubstr(device("parport1")), HasSubstr("0x378"), HasSubstr(std::strerror(ENODEV))));
}

TEST_F(PpdevPortTest, EachDeviceIsClaimedOnceAndReleasedAtTheEnd) {
    {
        PpdevPort port(proc(), root / "dev", kernel.calls());
        for (int i = 0; i < 10; ++i) {
            port.Out32(0x378, 254);
            port.Inp32(0x379);
            port.Inp32(0x279);
        }
        EXPECT_EQ(kernel.opened.size(), 2u);
        EXPECT_TRUE(kernel.closed.empty());
        kernel.requests.clear();
    }
    EXPECT_THAT(kernel.requests,
                ::testing::UnorderedElementsAre(FakeKernel::Request{101, PPRELEASE},
                                                FakeKernel::Request{102, PPRELEASE}));
    EXPECT_THAT(kernel.closed, ::testing::UnorderedElementsAre(101, 102));
    EXPECT_EQ(kernel.releasedBeforeClose, (std::vector{true, true}));
}

} // namespace
} // namespace vistrace
