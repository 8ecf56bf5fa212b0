#include "errors.h"
#include "fake_parport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vistrace::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

// parport1 has an ECP range at 0x778; parport10 comes after parport2.
struct PpdevPortTest : ::testing::Test {
    PpdevPortTest() {
        tree.addPort("parport0", 0x278);
        tree.addPort("parport1", 0x378, 0x778);
        tree.addPort("parport10", 0x3BC);
        tree.addPort("parport2", 0xDC00);
    }
    PpdevPort port(std::chrono::milliseconds claimLimit = PpdevPort::kClaimLimit) {
        return PpdevPort(tree.proc(), tree.dev(), tree.calls(), claimLimit);
    }
    // The message of the PortUnreachable that binding address throws, or "" if it binds.
    static std::string bindFailure(PpdevPort& ports, int address) {
        try {
            ports.bind(addressPattern(address));
        } catch (const PortUnreachable& error) {
            return error.what();
        }
        return "";
    }
    FakeParport tree;
};

TEST_F(PpdevPortTest, BindsEachPortOnceWithOneDeviceForBothRegistersUntilTheEnd) {
    {
        PpdevPort ports = port();
        ports.bind(632);
        ports.Out32(632, 255);
        ports.bind(-9216);
        ports.bind(-9216);
        ports.Out32(-9216, 0x1FD);
        EXPECT_EQ(ports.Inp32(-9215), 0x78);
    }
    EXPECT_EQ(tree.log, (std::vector<std::string>{"open parport0", "101 PPCLAIM", "101 PPDATADIR",
                                                  "101 PPWDATA", "open parport2", "102 PPCLAIM",
                                                  "102 PPDATADIR", "102 PPWDATA", "102 PPRSTATUS",
                                                  "101 PPRELEASE", "101 close", "102 PPRELEASE",
                                                  "102 close"}));
}

TEST_F(PpdevPortTest, AnAddressNotBoundIsABusWithNothingOnIt) {
    PpdevPort ports = port();
    EXPECT_THAT(bindFailure(ports, 0x778),
                AllOf(HasSubstr("No parallel port at I/O address 0x778"),
                      HasSubstr("ports are at 0x278, 0x378, 0xDC00 and 0x3BC")));
    ports.Out32(0x378, 254);
    EXPECT_EQ(ports.Inp32(0x379), 255);
    EXPECT_TRUE(tree.log.empty());
}

TEST_F(PpdevPortTest, EachFailureNamesThePortAndRemedyLeaksNothingAndCanBeRetried) {
    struct Case {
        int openErrno, claimErrno;
        std::string cause;
    };
    for (const Case& row : {Case{EACCES, 0, "adduser $USER lp"}, Case{ENOENT, 0, "modprobe ppdev"},
                            Case{0, ENOTTY, "Cannot claim"}}) {
        tree.openErrno = row.openErrno;
        tree.claimErrno = row.claimErrno;
        PpdevPort ports = port();
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_THAT(bindFailure(ports, 0x378),
                        AllOf(HasSubstr("parport1 (parallel port at I/O address 0x378)"),
                              HasSubstr(row.cause)));
        }
        EXPECT_TRUE(tree.openFds.empty()) << row.cause;
        tree.openErrno = tree.claimErrno = 0;
        EXPECT_EQ(bindFailure(ports, 0x378), "");
    }
}

TEST_F(PpdevPortTest, AClaimOnAPortHeldElsewhereGivesUpAtTheLimitAndClosesTheDevice) {
    tree.claimHeld = true;
    PpdevPort ports = port(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(
        bindFailure(ports, 0x378),
        AllOf(HasSubstr("0x378) is busy"), HasSubstr("print job"), HasSubstr("lp printer driver")));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(50));
    EXPECT_LT(waited, std::chrono::seconds(1));
    EXPECT_EQ(tree.log, (std::vector<std::string>{"open parport1", "101 PPCLAIM", "101 close"}));
}

TEST_F(PpdevPortTest, ABoundPortThatStopsAnsweringIsAnError) {
    PpdevPort ports = port();
    ports.bind(0x378);
    tree.readErrno = ENODEV;
    EXPECT_THROW(ports.Inp32(0x379), PortError);
}

} // namespace
} // namespace vistrace::testing
