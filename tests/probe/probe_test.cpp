#include "converter_check.h"
#include "fake_counter.h"
#include "fake_parport.h"
#include "probe.h"
#include "scripted_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace vistrace::testing {
namespace {

using ::testing::HasSubstr;

// 100 reads in 600 us: 1 us per port access.
struct ConverterCheckTest : ::testing::Test {
    std::string report(std::vector<std::uint8_t> samples) {
        port.queueSamples(samples);
        check = checkConverter(port, counter, 0x378, static_cast<int>(samples.size()));
        std::ostringstream out;
        printCheck(out, check);
        return out.str();
    }
    ScriptedPort port;
    FakeCounter counter{1'000'000, 600};
    ConverterCheck check;
};

TEST_F(ConverterCheckTest, ALineThatNeverChangesIsNamedWithItsPinAndSampleBits) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 100; ++i) {
        samples.push_back(static_cast<std::uint8_t>((i * 37) | 0x22)); // PAPER END always low
    }
    const std::string text = report(samples);
    EXPECT_TRUE(check.answered);
    EXPECT_THAT(text, HasSubstr("Converter:            answered\n"
                                "Lines that never changed:\n"
                                "  PAPER END (pin 12, status bit 5), always low: carries "
                                "sample bits 1 and 5\n"));
    EXPECT_THAT(text, HasSubstr("Time per port access: 1.00 us\n"));
    EXPECT_THAT(text, HasSubstr("  500uS/Div  0.10 ms\n"));
    EXPECT_THAT(text, HasSubstr("  2mS/Div    0.80 ms\n"));
    EXPECT_THAT(text, HasSubstr("  200mS/Div  180 ms\n"));
    EXPECT_THAT(text, HasSubstr("Real-time capture:    not checked\n"));
}

TEST_F(ConverterCheckTest, APortWithNothingOnItIsNoConverterWhateverBusyReads) {
    for (const int floating : {0, 136}) { // BUSY floating high or low
        EXPECT_THAT(report(std::vector<std::uint8_t>(50, static_cast<std::uint8_t>(floating))),
                    HasSubstr("none answered"));
        EXPECT_EQ(check.stuckLines.size(), 4U);
    }
    EXPECT_THAT(report({0, 1, 0}), HasSubstr("Samples:              0 to 1, mean 0.3\n"));
    EXPECT_TRUE(check.answered);
}

TEST(ProbeCommandLine, TakesOneHexAddressAndTwoOptions) {
    EXPECT_EQ(parseProbeArguments({"--simulated", "DC00"})->address, 0xDC00);
    EXPECT_FALSE(parseProbeArguments({"378", "278"}));
    EXPECT_FALSE(parseProbeArguments({"12345"}));
}

TEST(ProbeCommandLine, ExitsZeroOnlyWhenAConverterAnswered) {
    FakeParport tree;
    const ProbeSystem system{tree.proc(), tree.dev()};
    const auto run = [&](const std::vector<std::string>& arguments, std::string& text) {
        std::ostringstream out;
        const int status = runProbe(arguments, out, out, system);
        text = out.str();
        return status;
    };
    std::string text;
    EXPECT_EQ(run({"--bogus"}, text), 2);
    EXPECT_THAT(text, HasSubstr("Usage: vistrace-probe"));
    EXPECT_EQ(run({}, text), 1);
    EXPECT_THAT(text, HasSubstr("modprobe parport_pc"));
    tree.addPort("parport0", 0x378); // its device node does not exist
    EXPECT_EQ(run({}, text), 1);
    EXPECT_THAT(text, HasSubstr("0x378  cannot be used: Cannot open"));
    EXPECT_EQ(run({"--simulated"}, text), 0);
    EXPECT_THAT(text, HasSubstr("Converter:            answered"));
    EXPECT_EQ(run({"--simulated", "278"}, text), 1);
}

} // namespace
} // namespace vistrace::testing
