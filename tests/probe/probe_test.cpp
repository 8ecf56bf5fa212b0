#include "converter_check.h"
#include "fake_parport.h"
#include "fakes.h"
#include "probe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace vistrace::testing {
namespace {

using ::testing::HasSubstr;

// The report on these samples, read in 600 us: 1 us per port access for 100 reads.
std::string report(const std::vector<std::uint8_t>& samples, ConverterCheck& check) {
    ScriptedPort port;
    FakeCounter counter{1'000'000, 600};
    port.queueSamples(samples);
    check = checkConverter(port, counter, 0x378, static_cast<int>(samples.size()));
    std::ostringstream out;
    printCheck(out, check);
    return out.str();
}

TEST(ConverterCheck, ALineThatNeverChangesIsNamedWithItsPinAndSampleBits) {
    std::vector<std::uint8_t> samples(100);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::uint8_t>((i * 37) | 0x22); // PAPER END always low
    }
    ConverterCheck check;
    const std::string text = report(samples, check);
    EXPECT_THAT(text, HasSubstr("Converter:                answered\n"
                                "Lines that never changed:\n"
                                "  PAPER END (pin 12, status bit 5), always low: carries "
                                "sample bits 1 and 5\n"));
    EXPECT_THAT(text, HasSubstr("Time per port access:     1.00 us\n"));
    EXPECT_THAT(text, HasSubstr("  200mS/Div  180 ms\n"));
    for (const int floating : {0, 136}) { // nothing on the port, BUSY floating either way
        EXPECT_THAT(
            report(std::vector<std::uint8_t>(50, static_cast<std::uint8_t>(floating)), check),
            HasSubstr("none answered"));
        EXPECT_EQ(check.stuckLines.size(), 4U);
    }
}

TEST(ProbeCommandLine, ExitsZeroOnlyWhenAConverterAnswered) {
    EXPECT_EQ(parseProbeArguments({"--simulated", "DC00"}).value_or(ProbeOptions{}).address,
              0xDC00);
    FakeParport tree;
    const ProbeSystem system{tree.proc(), tree.dev(), [] { return RealtimeGrant::Refused; }};
    std::ostringstream out;
    const auto run = [&](const std::vector<std::string>& arguments) {
        out.str("");
        return runProbe(arguments, out, out, system);
    };
    EXPECT_EQ(run({"378", "278"}), 2);
    EXPECT_EQ(run({}), 1);
    EXPECT_THAT(out.str(), HasSubstr("modprobe parport_pc"));
    tree.addPort("parport0", 0x378); // its device node does not exist
    EXPECT_EQ(run({}), 1);
    EXPECT_THAT(out.str(), HasSubstr("0x378  cannot be used: Cannot open"));
    EXPECT_EQ(run({"--simulated"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("Real-time capture:        not granted"));
    EXPECT_EQ(run({"--simulated", "278"}), 1);
}

} // namespace
} // namespace vistrace::testing
