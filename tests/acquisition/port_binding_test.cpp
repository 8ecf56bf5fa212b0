#include "errors.h"
#include "fake_parport.h"

#include <cerrno>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vistrace::testing {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

struct PortBinding : ::testing::Test {
    PortBinding() {
        tree.addPort("parport10", 0x278);
        tree.addPort("parport2", 0xDC00);
        tree.addPort("parport0", 0x378);
    }
    PpdevPort port(std::chrono::milliseconds claimLimit = PpdevPort::kClaimLimit) {
        return PpdevPort(tree.proc(), tree.dev(), tree.calls(), claimLimit);
    }
    FakeParport tree;
};

TEST_F(PortBinding, ACardAtDC00IsOneDeviceForBothRegistersReachedThroughItsPattern) {
    PpdevPort ports = port();
    EXPECT_THAT(ports.machinePorts(), ElementsAre(Field(&ParallelPort::name, "parport0"),
                                                  Field(&ParallelPort::name, "parport2"),
                                                  Field(&ParallelPort::name, "parport10")));
    EXPECT_EQ(addressPattern(0xDC00), -9216);
    EXPECT_EQ(addressItem(0xDC00), "DC00");
    ports.bind(-9216);
    ports.bind(-9216);
    ports.Out32(-9216, 0x1FD);
    EXPECT_EQ(ports.Inp32(-9215), 0x78);
    EXPECT_EQ(tree.log, (std::vector<std::string>{"open parport2", "101 PPCLAIM", "101 PPDATADIR",
                                                  "101 PPWDATA", "101 PPRSTATUS"}));
}

TEST_F(PortBinding, AnUnboundAddressIsABusWithNothingOnIt) {
    PpdevPort ports = port();
    ports.Out32(0x378, 254);
    EXPECT_EQ(ports.Inp32(0x379), 255);
    EXPECT_TRUE(tree.log.empty());
}

// Every failure names the address and the remedy, leaves no descriptor open, and a later
// bind once the cause is gone reaches the port.
TEST_F(PortBinding, EachFailureWarnsLeaksNothingAndCanBeRetried) {
    struct Case {
        int address, openErrno, claimErrno;
        std::vector<std::string> says;
    };
    const std::vector<Case> cases{
        {0x3BC, 0, 0, {"0x3BC", "ports are at 0x378, 0xDC00 and 0x278"}},
        {0x378, EACCES, 0, {"0x378", "parport0", "adduser $USER lp"}},
        {0x378, ENOENT, 0, {"0x378", "modprobe ppdev"}},
        {0xDC00, 0, EIO, {"0xDC00", "parport2", "Cannot claim"}},
    };
    for (const Case& row : cases) {
        tree.openErrno = row.openErrno;
        tree.claimErrno = row.claimErrno;
        PpdevPort ports = port();
        for (int attempt = 0; attempt < 3; ++attempt) {
            try {
                ports.bind(addressPattern(row.address));
                ADD_FAILURE() << "bound " << row.says[0];
            } catch (const PortUnreachable& error) {
                for (const std::string& words : row.says) {
                    EXPECT_THAT(error.what(), HasSubstr(words));
                }
            }
        }
        EXPECT_TRUE(tree.openFds.empty()) << row.says[0];
    }
    FakeParport none;
    EXPECT_THAT([&] { PpdevPort(none.proc(), none.dev(), none.calls()).bind(0x378); },
                ThrowsMessage<PortUnreachable>(HasSubstr("no parallel port")));
    tree.openErrno = 0;
    tree.claimErrno = 0;
    PpdevPort ports = port();
    ports.bind(0x378);
    EXPECT_EQ(tree.openFds.size(), 1U);
}

TEST_F(PortBinding, AClaimOnAPortHeldElsewhereGivesUpAtTheLimitAndClosesTheDevice) {
    tree.claimHeld = true;
    PpdevPort ports = port(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    try {
        ports.bind(0x378);
        ADD_FAILURE() << "claimed a held port";
    } catch (const PortUnreachable& error) {
        EXPECT_THAT(error.what(), AllOf(HasSubstr("0x378) is busy"), HasSubstr("print job"),
                                        HasSubstr("lp printer driver")));
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(50));
    EXPECT_LT(waited, std::chrono::seconds(1));
    EXPECT_TRUE(tree.openFds.empty());
    EXPECT_EQ(tree.log.back(), "101 close");
    ports.Out32(0x378, 254);
    EXPECT_EQ(tree.log.size(), 3U) << "a port given up on stays unconnected";
}

} // namespace
} // namespace vistrace::testing
