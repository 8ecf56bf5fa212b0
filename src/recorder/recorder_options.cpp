#include "recorder_options.h"

#include "port_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace vistrace {

const char* const kRecorderUsage =
    "Usage: vistrace-capture [PORT | --simulated] [options]\n"
    "Captures sweeps as vistrace does and writes them to a file, a picture and measurements.\n"
    "\n"
    "  PORT                  the port's I/O address in hex (378, 278, 3BC, DC00); without it,\n"
    "                        the first port of this machine that can be used\n"
    "  --simulated           the simulated converter of vistrace-sim instead\n"
    "  --time-base ITEM      500uS/Div to 200mS/Div, as in the window (2mS/Div)\n"
    "  --trigger SLOPE       rising or falling: wait for it before every sweep (free-running\n"
    "                        without it)\n"
    "  --level ITEM          the trigger level, 3V to -3, as in the window (100mV)\n"
    "  --sweeps N            how many sweeps (1)\n"
    "  --timeout SECONDS     how long each trigger wait may last (10)\n"
    "  --output FILE         the sweeps as CSV; - for standard output, where they also go when\n"
    "                        neither --measure nor --picture is given\n"
    "  --picture FILE.png    the last sweep as the window's screen shows it\n"
    "  --volts-per-div ITEM  the picture's sensitivity, 5V/Div to 100mV/Div (5V/Div)\n"
    "  --measure             print each sweep's voltages, frequency, period and duty cycle\n"
    "  -h, --help            show this text\n"
    "\n"
    "Exit status: 0 done, 1 the port failed or a file could not be written, 2 a usage error,\n"
    "3 no trigger in time, 130 or 143 ended by Ctrl-C or SIGTERM.\n";

namespace {

constexpr int kMostSweeps = 100000;
constexpr double kLongestTimeout = 86400.0;

[[noreturn]] void fail(const std::string& what, const std::string& argument) {
    throw UsageError("vistrace-capture: " + what + ": '" + argument + "'");
}

bool sameItem(std::string_view item, std::string_view text) {
    return std::ranges::equal(item, text, [](unsigned char a, unsigned char b) {
        return std::tolower(a) == std::tolower(b);
    });
}

// The row whose item the text names, in any case; "-3V" names the level the list writes "-3".
template <typename Table> std::optional<int> rowNamed(const Table& table, const std::string& text) {
    for (std::size_t row = 0; row < table.size(); ++row) {
        const std::string item = table[row].item;
        if (sameItem(item, text) || sameItem(item + "V", text)) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

template <typename Table>
int rowOrFail(const Table& table, const std::string& text, const char* what) {
    const auto row = rowNamed(table, text);
    if (!row) {
        fail(what, text);
    }
    return *row;
}

int sweepCount(const std::string& text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1 ||
        count > kMostSweeps) {
        fail("not a number of sweeps from 1 to 100000", text);
    }
    return count;
}

double timeout(const std::string& text) {
    std::size_t used = 0;
    double seconds = 0.0;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(seconds > 0.0) || seconds > kLongestTimeout) {
        fail("not a timeout in seconds above 0 and up to a day", text);
    }
    return seconds;
}

TriggerSlope slope(const std::string& text) {
    if (sameItem("rising", text)) {
        return TriggerSlope::Rising;
    }
    if (sameItem("falling", text)) {
        return TriggerSlope::Falling;
    }
    fail("not a trigger slope (rising or falling)", text);
}

using Setter = std::function<void(RecorderOptions&, const std::string&)>;

const std::map<std::string, Setter, std::less<>>& valueOptions() {
    static const std::map<std::string, Setter, std::less<>> options{
        {"--time-base",
         [](RecorderOptions& into, const std::string& text) {
             into.timeBaseRow = rowOrFail(kTimeBaseRows, text, "not a time base");
         }},
        {"--trigger",
         [](RecorderOptions& into, const std::string& text) { into.trigger = slope(text); }},
        {"--level",
         [](RecorderOptions& into, const std::string& text) {
             into.levelRow = rowOrFail(kTriggerLevelRows, text, "not a trigger level");
         }},
        {"--volts-per-div",
         [](RecorderOptions& into, const std::string& text) {
             into.gainRow = rowOrFail(kGainRows, text, "not a sensitivity");
         }},
        {"--sweeps",
         [](RecorderOptions& into, const std::string& text) { into.sweeps = sweepCount(text); }},
        {"--timeout", [](RecorderOptions& into,
                         const std::string& text) { into.timeoutSeconds = timeout(text); }},
        {"--output",
         [](RecorderOptions& into, const std::string& text) {
             if (text.empty()) {
                 fail("not a file name", text);
             }
             into.output = text;
         }},
        {"--picture",
         [](RecorderOptions& into, const std::string& text) {
             if (text.empty() || text == "-") {
                 fail("not a file name for the picture", text);
             }
             into.picture = text;
         }},
    };
    return options;
}

void takeAddress(RecorderOptions& options, const std::string& argument) {
    const auto address = parseAddressItem(argument);
    if (!address) {
        fail("not a port address", argument);
    }
    if (options.address) {
        fail("a second port", argument);
    }
    options.address = address;
}

// Options that make sense alone but not together.
void checkTogether(const RecorderOptions& options, bool levelGiven) {
    if (options.simulated && options.address) {
        fail("the simulated converter has no port to choose", addressItem(*options.address));
    }
    if (levelGiven && !options.trigger) {
        fail("a trigger level needs --trigger",
             kTriggerLevelRows[static_cast<std::size_t>(options.levelRow)].item);
    }
    if (options.measure && options.output == "-") {
        fail("--measure prints on standard output, where the CSV would go", "--output -");
    }
}

} // namespace

RecorderOptions parseRecorderArguments(const std::vector<std::string>& arguments) {
    RecorderOptions options;
    std::vector<std::string> given;
    bool levelGiven = false;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        const std::size_t equals =
            argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--simulated") {
            options.simulated = true;
        } else if (argument == "--measure") {
            options.measure = true;
        } else if (const auto option = valueOptions().find(name); option != valueOptions().end()) {
            if (std::ranges::find(given, name) != given.end()) {
                fail("given twice", name);
            }
            given.push_back(name);
            if (equals == std::string::npos && k + 1 == arguments.size()) {
                fail("a value must follow", name);
            }
            option->second(options, equals != std::string::npos ? argument.substr(equals + 1)
                                                                : arguments[++k]);
            levelGiven = levelGiven || name == "--level";
        } else if (argument.starts_with("-") && argument != "-") {
            fail("not an option", argument);
        } else {
            takeAddress(options, argument);
        }
    }
    checkTogether(options, levelGiven);
    return options;
}

} // namespace vistrace
