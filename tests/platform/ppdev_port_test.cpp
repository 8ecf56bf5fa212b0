#include "errors.h"
#include "fake_parport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vistrace::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// parport1 has an ECP range at 0x778; parport10 comes after parport2.
struct PpdevPortTest : ::testing::Test {
    PpdevPortTest() {
        tree.addPort("parport0", 0x278);
        tree.addPort("parport1", 0x378, 0x778);
        tree.addPort("parport10", 0x3BC);
        tree.addPort("parport2", 0xDC00);
    }
    FakeParport tree;
};

// An address not bound is a bus with nothing on it; a bound one is one device for both
// registers until the end, and an error once it stops answering.
TEST_F(PpdevPortTest, BindsEachPortOnceWithOneDeviceForBothRegistersUntilTheEnd) {
    {
        PpdevPort ports(tree.proc(), tree.dev(), tree.calls());
        EXPECT_THAT([&] { ports.bind(0x778); },
                    ThrowsMessage<PortUnreachable>(HasSubstr("0x278, 0x378, 0xDC00 and 0x3BC")));
        ports.Out32(0x378, 254);
        EXPECT_EQ(ports.Inp32(0x379), 255);
        ports.bind(632);
        ports.Out32(632, 255);
        ports.bind(0xDC00);
        ports.bind(0xDC00);
        ports.Out32(-9216, 0x1FD);
        EXPECT_EQ(ports.Inp32(-9215), 0x78);
        tree.readErrno = ENODEV;
        EXPECT_THROW(ports.Inp32(-9215), PortError);
    }
    EXPECT_EQ(tree.log, (std::vector<std::string>{"open parport0", "101 PPCLAIM", "101 PPDATADIR 0",
                                                  "101 PPWDATA 255", "open parport2", "102 PPCLAIM",
                                                  "102 PPDATADIR 0", "102 PPWDATA 253",
                                                  "102 PPRSTATUS", "102 PPRSTATUS", "101 PPRELEASE",
                                                  "101 close", "102 PPRELEASE", "102 close"}));
}

// Each binding failure names its remedy by errno, leaks no descriptor and can be retried; a
// claim on a port held elsewhere gives up at the limit.
TEST_F(PpdevPortTest, EachFailureNamesItsRemedyLeaksNothingAndCanBeRetried) {
    for (const auto& [openErrno, claimErrno, claimHeld, remedy] :
         {std::tuple{EACCES, 0, false, "adduser $USER lp"},
          {ENOENT, 0, false, "modprobe ppdev"},
          {0, ENOTTY, false, "Cannot claim"},
          {0, 0, true, "lp printer driver"}}) {
        tree.openErrno = openErrno;
        tree.claimErrno = claimErrno;
        tree.claimHeld = claimHeld;
        PpdevPort ports(tree.proc(), tree.dev(), tree.calls(), std::chrono::milliseconds(50));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_THAT([&] { ports.bind(0x378); },
                        ThrowsMessage<PortUnreachable>(HasSubstr(remedy)));
            const auto waited = std::chrono::steady_clock::now() - start;
            EXPECT_TRUE(!claimHeld || waited >= std::chrono::milliseconds(50));
            EXPECT_LT(waited, std::chrono::seconds(1));
        }
        EXPECT_TRUE(tree.openFds.empty()) << remedy;
        tree.openErrno = tree.claimErrno = 0;
        tree.claimHeld = false;
        EXPECT_NO_THROW(ports.bind(0x378));
    }
}

} // namespace
} // namespace vistrace::testing
