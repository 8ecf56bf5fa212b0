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

// The report on these samples, read in 3.6 ms: 6 us per port access for 100 reads.
std::string report(const std::vector<std::uint8_t>& samples) {
    ScriptedPort port;
    FakeCounter counter{1'000'000, 3'600};
    port.queueSamples(samples);
    std::ostringstream out;
    printCheck(out, checkConverter(port, counter, 0x378, static_cast<int>(samples.size())));
    return out.str();
}

TEST(ConverterCheck, ALineThatNeverChangesIsNamedWithItsPinAndSampleBits) {
    std::vector<std::uint8_t> samples(100);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::uint8_t>((i * 37) | 0x22); // PAPER END always low
    }
    const std::string text = report(samples);
    EXPECT_THAT(text, HasSubstr("Converter:                answered\n"
                                "Lines that never changed:\n"
                                "  PAPER END (pin 12, status bit 5), always low: carries "
                                "sample bits 1 and 5\n"));
    EXPECT_THAT(text, HasSubstr("Samples:                  34 to 255, mean 141.0\n"));
    EXPECT_THAT(text, HasSubstr("Time per port access:     6.00 us\n"));
    EXPECT_THAT(text, HasSubstr("  500uS/Div  0.600 ms: port too slow for 500uS/Div\n"
                                "  1mS/Div    1.00 ms: true to its label\n"));
    for (const int steady : {128, 0, 136}) { // a converter at 0 V, at full scale; nothing on it
        EXPECT_THAT(report(std::vector<std::uint8_t>(50, static_cast<std::uint8_t>(steady))),
                    HasSubstr("Converter:                The readings never changed: no converter "
                              "answered, or its input stayed steady. Apply a varying input and "
                              "run the check again.\n"));
    }
    EXPECT_THAT(report({0, 128, 0}), // BUSY wanders on a port with nothing on it
                HasSubstr("none answered: every reading is one that a port with nothing "
                          "connected gives; only BUSY moved"));
}

// A fake port's status reads the same every time: the first usable port of two checked, no
// converter there. A usage error names the argument; nothing unexpected aborts.
TEST(ProbeCommandLine, ExitsZeroOnlyWhenAConverterAnswered) {
    FakeParport tree;
    bool grantFails = false;
    RealtimeGrant grant = RealtimeGrant::Refused;
    const ProbeSystem system{
        tree.places(), [&] { return grantFails ? throw std::logic_error("no grant") : grant; }};
    std::ostringstream out;
    const auto run = [&](const std::vector<std::string>& arguments) {
        out.str("");
        return runProbe(arguments, out, out, system);
    };
    for (const auto& [arguments, fault] : {std::pair<std::vector<std::string>, std::string>{
                                               {"378", "378"}, "one port address at a time: '378'"},
                                           {{" 378"}, "not a port address: ' 378'"},
                                           {{"--simulated", "-x"}, "unknown option: '-x'"}}) {
        EXPECT_EQ(run(arguments), 2);
        EXPECT_THAT(out.str(), ::testing::StartsWith("vistrace-probe: " + fault + "\n\nUsage:"));
    }
    EXPECT_EQ(run({"-h"}), 0);
    EXPECT_THAT(out.str(), ::testing::StartsWith("Usage:"));
    tree.addEntry("parport99999999999999999999", "888\t-1\n");
    tree.addEntry("parport3", "0x378\t-1\n");
    EXPECT_EQ(run({}), 1);
    EXPECT_THAT(out.str(), HasSubstr("modprobe parport_pc"));
    tree.addPort("parport0", 0x378);
    tree.openErrno = ENOENT;
    EXPECT_EQ(run({}), 1);
    EXPECT_THAT(out.str(), HasSubstr("0x378  cannot be used: Cannot open"));
    tree.openErrno = 0;
    tree.addPort("parport1", 0x278);
    EXPECT_EQ(run({}), 1);
    EXPECT_THAT(out.str(), HasSubstr("converter at 0x378:"));
    EXPECT_EQ(run({"--simulated"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("Real-time capture:        not granted"));
    grant = RealtimeGrant::AlreadyRealtime;
    EXPECT_EQ(run({"--simulated"}), 0);
    EXPECT_THAT(out.str(), HasSubstr(" already real-time when started: vistrace leaves its "
                                     "priority alone\n"));
    EXPECT_EQ(run({"--simulated", "278"}), 1);
    grantFails = true;
    EXPECT_EQ(run({"--simulated"}), 1);
    EXPECT_THAT(out.str(), HasSubstr("vistrace-probe: unexpected error: no grant\n"));
}

} // namespace
} // namespace vistrace::testing
