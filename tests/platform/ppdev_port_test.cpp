#include "errors.h"
#include "fake_parport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vistrace::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// parport1 has an ECP range at 0x778; parport10 comes after parport2. The rest is what the
// kernel never writes: no port, and reading it throws nothing.
struct PpdevPortTest : ::testing::Test {
    PpdevPortTest() {
        tree.addPort("parport0", 0x278);
        tree.addPort("parport1", 0x378, 0x778);
        tree.addPort("parport10", 0x3BC);
        tree.addPort("parport2", 0xDC00);
        // clang-format off
        for (const auto& [name, text] : {std::pair{"parport3", "garbage"}, {"parport4", "0x3E8\t-1"},
                 {"parport5", ""}, {"parport6", "-1000"}, {"parport7", "65536"},
                 {"parport99999999999999999999", "1000"}, {"parport+8", "1000"}}) { // clang-format on
            tree.addEntry(name, text);
        }
        std::filesystem::create_directories(tree.proc() / "parport9" / "base-addr");
    }
    FakeParport tree;
};

// An address not bound is a bus with nothing on it; a bound one is one device for both
// registers until another is bound or it fails, and then closed even if its release fails.
TEST_F(PpdevPortTest, HoldsOnePortAtATimeWithOneDeviceForBothRegistersUntilItFails) {
    {
        PpdevPort ports(tree.places());
        EXPECT_THAT([&] { ports.bind(0x778); }, ThrowsMessage<PortUnreachable>(HasSubstr(
                                                    "are at 0x278, 0x378, 0xDC00 and 0x3BC.")));
        ports.Out32(0x378, 254);
        EXPECT_EQ(ports.Inp32(0x379), 255);
        ports.bind(632);
        ports.Out32(632, 255);
        ports.bind(0xDC00);
        ports.bind(0xDC00);
        ports.Out32(-9216, 0x1FD);
        EXPECT_EQ(ports.Inp32(-9215), 0x78);
        tree.errnos = {{PPWDATA, EIO}, {PPRSTATUS, ENODEV}, {PPRELEASE, ENODEV}};
        const std::string port = "Parallel port " + (tree.dev() / "parport2").string() +
                                 " (I/O address 0xDC00) failed: ";
        EXPECT_THAT([&] { ports.Out32(-9216, 255); },
                    ThrowsMessage<PortError>(port + "PPWDATA: Input/output error"));
        EXPECT_THAT([&] { ports.Inp32(-9215); },
                    ThrowsMessage<PortError>(port + "PPRSTATUS: No such device"));
        ports.release();
        EXPECT_EQ(ports.Inp32(-9215), 255);
        ports.bind(0xDC00);
    }
    EXPECT_EQ(tree.log,
              (std::vector<std::string>{
                  "open parport0",   "101 PPCLAIM",     "101 PPDATADIR 0", "101 PPWDATA 255",
                  "101 PPRELEASE",   "101 close",       "open parport2",   "102 PPCLAIM",
                  "102 PPDATADIR 0", "102 PPWDATA 253", "102 PPRSTATUS",   "102 PPWDATA 255",
                  "102 PPRSTATUS",   "102 PPRELEASE",   "102 close",       "open parport2",
                  "103 PPCLAIM",     "103 PPDATADIR 0", "103 PPRELEASE",   "103 close"}));
    EXPECT_TRUE(tree.openFds.empty());
}

// Each binding failure names its remedy by errno, leaks no descriptor and can be retried; a
// claim on a port held elsewhere gives up at the limit.
TEST_F(PpdevPortTest, EachFailureNamesItsRemedyLeaksNothingAndCanBeRetried) {
    // clang-format off
    for (const auto& [openErrno, refused, claimHeld, remedy] :
         {std::tuple{EACCES, 0UL, false, "adduser $USER lp"}, {ENOENT, 0UL, false, "modprobe ppdev"},
          {0, PPCLAIM, false, "Cannot claim"}, {0, PPDATADIR, false, "Cannot drive the data lines"},
          {0, 0UL, true, "lp printer driver"}}) { // clang-format on
        tree.openErrno = openErrno;
        tree.errnos = {{refused, ENOTTY}};
        tree.claimHeld = claimHeld;
        PpdevPort ports(tree.places(), std::chrono::milliseconds(50));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_THAT([&] { ports.bind(0x378); },
                        ThrowsMessage<PortUnreachable>(HasSubstr(remedy)));
            const auto waited = std::chrono::steady_clock::now() - start;
            EXPECT_TRUE(!claimHeld || waited >= std::chrono::milliseconds(50));
            EXPECT_LT(waited, std::chrono::seconds(1));
        }
        EXPECT_TRUE(tree.openFds.empty()) << remedy;
        tree.openErrno = 0;
        tree.errnos.clear();
        tree.claimHeld = false;
        EXPECT_NO_THROW(ports.bind(0x378));
    }
}

} // namespace
} // namespace vistrace::testing
