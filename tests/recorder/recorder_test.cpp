#include "fake_parport.h"
#include "recorder.h"
#include "recorder_options.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

namespace vistrace::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Ran {
    int status;
    std::string out, err;
    double seconds;
};

Ran run(const std::vector<std::string>& arguments, const RecorderSystem& system = {}) {
    std::ostringstream out;
    std::ostringstream err;
    const auto start = std::chrono::steady_clock::now();
    const int status = runRecorder(arguments, out, err, system);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {status, out.str(), err.str(), took.count()};
}

struct Row {
    int sweep, sample, raw;
    double seconds, volts;
};

std::vector<Row> rowsOf(const std::string& csv) {
    std::istringstream lines(csv);
    std::vector<Row> rows;
    for (std::string line; std::getline(lines, line);) {
        Row row{};
        if (std::sscanf(line.c_str(), "%d,%d,%lf,%d,%lf", &row.sweep, &row.sample, &row.seconds,
                        &row.raw, &row.volts) == 5) {
            rows.push_back(row);
        }
    }
    return rows;
}

TEST(RecorderCommandLine, UsageErrorsNameTheArgumentAtFault) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--time-base", "3mS/Div"}, "not a time base: '3mS/Div'"},
        {{"--trigger", "up"}, "not a trigger slope (rising or falling): 'up'"},
        {{"--level", "1V"}, "a trigger level needs --trigger: '1V'"},
        {{"--sweeps", "0"}, "not a number of sweeps from 1 to 100000: '0'"},
        {{"--timeout", "never"}, "not a timeout in seconds above 0 and up to a day: 'never'"},
        {{"--sweeps"}, "a value must follow: '--sweeps'"},
        {{"--sweeps=2", "--sweeps", "3"}, "given twice: '--sweeps'"},
        {{"--simulated", "278"}, "the simulated converter has no port to choose: '278'"},
        {{"37G"}, "not a port address: '37G'"},
        {{"378", "278"}, "a second port: '278'"},
        {{"--frobnicate"}, "not an option: '--frobnicate'"},
        {{"--measure", "--output", "-"},
         "--measure prints on standard output, where the CSV would go: '--output -'"},
    };
    for (const auto& [arguments, message] : cases) {
        const Ran ran = run(arguments);
        EXPECT_EQ(ran.status, kRecorderUsageError) << message;
        EXPECT_THAT(ran.err, StartsWith("vistrace-capture: " + message + "\n"));
        EXPECT_EQ(ran.out, "");
    }
    const RecorderOptions options =
        parseRecorderArguments({"--time-base=1ms/div", "--trigger", "Falling", "--level", "-3V"});
    EXPECT_EQ(options.timeBaseRow, 1);
    EXPECT_EQ(options.trigger, TriggerSlope::Falling);
    EXPECT_EQ(options.levelRow, 11);
    EXPECT_THAT(run({"-h"}).out, StartsWith("Usage: vistrace-capture [PORT | --simulated]"));
}

// On the simulated converter (30 us a sample), 1mS/Div waits between samples and times each;
// 500uS/Div cannot wait at all, so its times are each sweep's length spread evenly. Five sweeps,
// so that one the machine slowed throughout spaces only the next ones, as on a user's desktop.
TEST(RecorderCsv, HeaderThenEverySampleAtItsTimeWithItsVolts) {
    constexpr int kSweeps = 5;
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {"1mS/Div", 250, "# time_s: each sample's own time on the clock"},
        {"500uS/Div", 166,
         "# time_s: 500uS/Div reads no clock per sample; each sweep's measured "
         "length is spread evenly over its samples\n"},
    };
    for (const auto& [timeBase, samples, timeComment] : cases) {
        const Ran ran =
            run({"--simulated", "--time-base", timeBase, "--sweeps", std::to_string(kSweeps)});
        ASSERT_EQ(ran.status, kRecorderDone) << ran.err;
        EXPECT_TRUE(std::regex_search(
            ran.out, std::regex("^# vistrace-capture 1\\.00\n# port: 0x378 \\(the simulated "
                                "converter of vistrace-sim: .*\\)\n# time base: " +
                                timeBase +
                                "\n# trigger: none \\(free-running\\)\n# start: "
                                "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z\n# port "
                                "time per sample: \\d+\\.\\d\\d us\n")))
            << ran.out.substr(0, 400);
        EXPECT_THAT(ran.out, HasSubstr(timeComment));
        EXPECT_THAT(ran.out, HasSubstr("\nsweep,sample,time_s,raw,volts\n1,1,0.000000000,"));
        const std::vector<Row> rows = rowsOf(ran.out);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kSweeps * samples));
        std::vector<double> steps;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const Row& row = rows[k];
            EXPECT_EQ(row.sweep, 1 + static_cast<int>(k) / samples);
            EXPECT_EQ(row.sample, 1 + static_cast<int>(k) % samples);
            EXPECT_NEAR(row.volts, (128 - row.raw) / 25.5, 0.00005);
            if (row.sample > 1) {
                steps.push_back(row.seconds - rows[k - 1].seconds);
            }
            if (samples == 166 && row.sample > 2) { // evenly, but for rounding to the ns
                EXPECT_NEAR(steps.back(), steps[steps.size() - 2], 2e-9);
            }
        }
        std::ranges::sort(steps);
        if (samples == 250) { // 40 us for the 2 units between samples at 1mS per 50
            EXPECT_NEAR(steps[steps.size() / 2], 40e-6, 0.4e-6);
        }
    }
}

// A trigger that never comes ends the run at its timeout; a signal ends a trigger wait at
// once and drops a sweep it came during. What is complete is written either way.
TEST(RecorderEnding, NoTriggerOrASignalEndsItWithTheSweepsComplete) {
    struct Case {
        std::vector<std::string> arguments;
        int signalFromCall; // 0: none
        int signal;
        int status;
        std::size_t rows;
        std::string message;
    };
    const std::vector<std::string> noTrigger{"--simulated", "--trigger", "rising", "--level", "3V"};
    const std::vector<std::string> threeSweeps{"--simulated", "--time-base", "1mS/Div", "--sweeps",
                                               "3"};
    std::vector<std::string> timingOut = noTrigger;
    timingOut.insert(timingOut.end(), {"--timeout", "0.3"});
    const std::vector<Case> cases{
        {timingOut, 0, 0, kRecorderNoTrigger, 0,
         "no trigger (rising at 3V) within 0.3 s; 0 sweeps complete"},
        {noTrigger, 2, SIGINT, 128 + SIGINT, 0, "ended by SIGINT; 0 sweeps complete"},
        {threeSweeps, 4, SIGTERM, 128 + SIGTERM, 250, "ended by SIGTERM; 1 sweep complete"},
    };
    for (const Case& given : cases) {
        int calls = 0;
        RecorderSystem system;
        system.endingSignal = [&] {
            return ++calls >= given.signalFromCall && given.signal != 0 ? given.signal : 0;
        };
        const Ran ran = run(given.arguments, system);
        EXPECT_EQ(ran.status, given.status) << ran.err;
        EXPECT_EQ(ran.err, "vistrace-capture: " + given.message + "\n");
        EXPECT_EQ(rowsOf(ran.out).size(), given.rows);
        EXPECT_LT(ran.seconds, 2.0);
    }
}

// The disk fills up halfway through (a file-size limit in a child): the earlier file of that
// name stays as it was and nothing is left beside it.
TEST(RecorderFiles, AFailedWriteLeavesTheEarlierFileWhole) {
    FakeParport scratch; // a temporary directory
    const std::string directory = scratch.dev().string();
    std::filesystem::create_directories(directory);
    for (const std::string option : {"--output", "--picture"}) {
        const std::string path = directory + "/sweep";
        std::ofstream(path) << "the earlier sweep\n";
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::ostringstream out;
            std::ostringstream err;
            const int status = runRecorder({"--simulated", option, path}, out, err);
            _exit(status == kRecorderFailed && err.str() == "vistrace-capture: cannot write " +
                                                                path + ": File too large\n"
                      ? 0
                      : 1);
        }
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << option;
        std::string earlier;
        EXPECT_TRUE(std::getline(std::ifstream(path), earlier) && earlier == "the earlier sweep");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                                std::filesystem::directory_iterator()),
                  1);
    }
    const Ran missing = run({"--simulated", "--output", directory + "/no/sweep.csv"});
    EXPECT_EQ(missing.status, kRecorderFailed);
    EXPECT_EQ(missing.err, "vistrace-capture: cannot write " + directory +
                               "/no/sweep.csv: No such file or directory\n");
}

// The port stops answering in the second sweep: the first is written, the operator reads the
// port's own message, and the port is released.
TEST(RecorderPort, APortThatFailsMidCaptureEndsItWithTheSweepsComplete) {
    FakeParport tree;
    tree.addPort("parport0", 0x378);
    DeviceCalls calls = tree.calls();
    int reads = 0;
    calls.ioctl = [&tree, &reads, inner = calls.ioctl](int fd, unsigned long request, void* arg) {
        // A new port's timing reads 128 times; a 1mS/Div sweep 500.
        tree.errnos[PPRSTATUS] = request == PPRSTATUS && ++reads > 128 + 500 + 100 ? EIO : 0;
        return inner(fd, request, arg);
    };
    RecorderSystem system{{tree.proc(), tree.dev(), calls},
                          [](PerformanceCounter&) { return std::make_unique<NormalPriority>(); }};
    const Ran ran = run({"--time-base", "1mS/Div", "--sweeps", "3"}, system);
    EXPECT_EQ(ran.status, kRecorderFailed);
    EXPECT_THAT(ran.err, HasSubstr("vistrace-capture: Parallel port "));
    EXPECT_THAT(ran.err, HasSubstr("failed: PPRSTATUS: "));
    EXPECT_THAT(ran.err, HasSubstr("; 1 sweep complete\n"));
    EXPECT_THAT(ran.out, HasSubstr("# port: 0x378\n"));
    EXPECT_EQ(rowsOf(ran.out).size(), 250U);
    EXPECT_TRUE(tree.openFds.empty());
}

} // namespace
} // namespace vistrace::testing
