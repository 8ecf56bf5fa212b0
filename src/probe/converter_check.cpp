#include "converter_check.h"

#include "adc.h"
#include "instrument_tables.h"
#include "port_address.h"
#include "scope_state.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>

namespace vistrace {
namespace {

// One converter read: four writes and two reads of the port.
constexpr int kAccessesPerRead = 6;

struct StatusLine {
    const char* name;
    int pin;
};

// Status bits 4 to 7, each carrying sample bit (bit - 4) at the first reading and
// sample bit bit at the second.
constexpr std::array<StatusLine, 4> kDataLines{{
    {"SELECT", 13},
    {"PAPER END", 12},
    {"ACK", 10},
    {"BUSY", 11},
}};

// An unconnected port's inputs float high, and every sample bit is the complement of its
// pin, so each of its samples has bits 0 to 2 and 4 to 6 clear. BUSY is left out: what it
// floats to differs from port to port.
constexpr int kFloatingLinesMask = 0x77;

double secondsFrom(PerformanceCounter& counter, std::int64_t start, std::int64_t end) {
    std::int64_t frequency = 0;
    counter.QueryPerformanceFrequency(frequency);
    return frequency > 0 ? static_cast<double>(end - start) / static_cast<double>(frequency) : 0;
}

std::string format(const char* pattern, double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), pattern, value);
    return text.data();
}

// Three significant figures, without an exponent: "0.502 ms", "4.50 ms", "182 ms".
std::string milliseconds(double seconds) {
    const double millis = seconds * 1e3;
    // Chosen by the value as printed, so that 9.999 reads "10.0", not "10.00".
    const char* pattern = millis < 0.9995  ? "%.3f ms"
                          : millis < 9.995 ? "%.2f ms"
                          : millis < 99.95 ? "%.1f ms"
                                           : "%.0f ms";
    return format(pattern, millis);
}

} // namespace

ConverterCheck checkConverter(PortIo& port, PerformanceCounter& counter, int baseAddress,
                              int reads) {
    ScopeState state;
    state.port_address = addressPattern(baseAddress);
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(reads));

    std::int64_t start = 0;
    std::int64_t end = 0;
    counter.QueryPerformanceCounter(start);
    for (int i = 0; i < reads; ++i) {
        samples.push_back(oneread(state, port));
    }
    counter.QueryPerformanceCounter(end);

    ConverterCheck check;
    if (reads <= 0) {
        return check;
    }
    std::int64_t frequency = 0;
    counter.QueryPerformanceFrequency(frequency);
    check.timing.measure(port, counter, frequency, state.port_address);
    const bool converterBits = std::ranges::any_of(
        samples, [](std::uint8_t sample) { return (sample & kFloatingLinesMask) != 0; });
    for (int line = 0; line < 4; ++line) {
        // The line carries one bit of each half; a set bit means the pin was low.
        const int bits = (1 << line) | (1 << (line + 4));
        const bool everLow = std::ranges::any_of(
            samples, [bits](std::uint8_t sample) { return (sample & bits) != 0; });
        const bool everHigh = std::ranges::any_of(
            samples, [bits](std::uint8_t sample) { return (sample & bits) != bits; });
        if (everLow != everHigh) {
            check.stuckLines.push_back({line + 4, everHigh});
        }
    }
    const auto [lowest, highest] = std::ranges::minmax(samples);
    check.lowest = lowest;
    check.highest = highest;
    check.verdict = lowest == highest ? ConverterCheck::Verdict::NeverChanged
                    : converterBits   ? ConverterCheck::Verdict::Answered
                                      : ConverterCheck::Verdict::NoneAnswered;
    check.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / reads;
    check.secondsPerSample = secondsFrom(counter, start, end) / reads;
    check.secondsPerAccess = check.secondsPerSample / kAccessesPerRead;
    check.timing.learn(check.secondsPerSample * reads, reads, 0.0);
    return check;
}

void printCheck(std::ostream& out, const ConverterCheck& check) {
    out << "Converter:                ";
    switch (check.verdict) {
    case ConverterCheck::Verdict::Answered:
        out << "answered\n";
        break;
    case ConverterCheck::Verdict::NeverChanged:
        out << "The readings never changed: no converter answered, or its input stayed steady. "
               "Apply a varying input and run the check again.\n";
        break;
    case ConverterCheck::Verdict::NoneAnswered:
        // The readings varied, yet every line but BUSY stayed as a floating one does.
        out << "none answered: every reading is one that a port with nothing connected gives; "
               "only BUSY moved, as a line with nothing on it may\n";
        break;
    }
    out << "Lines that never changed:";
    if (check.stuckLines.empty()) {
        out << " none\n";
    }
    for (const auto& [statusBit, pinHigh] : check.stuckLines) {
        const StatusLine& line = kDataLines.at(static_cast<std::size_t>(statusBit - 4));
        out << "\n  " << line.name << " (pin " << line.pin << ", status bit " << statusBit
            << "), always " << (pinHigh ? "high" : "low") << ": carries sample bits "
            << statusBit - 4 << " and " << statusBit;
    }
    if (!check.stuckLines.empty()) {
        out << '\n';
    }
    out << "Samples:                  " << check.lowest << " to " << check.highest << ", mean "
        << format("%.1f", check.mean) << '\n';
    out << "Time per port access:     " << format("%.2f", check.secondsPerAccess * 1e6) << " us\n";
    out << "Time per sample:          " << format("%.2f", check.secondsPerSample * 1e6) << " us\n";
    out << "Real time per division on this port:\n";
    for (const TimeBaseRow& row : kTimeBaseRows) {
        // Samples lie x_step units apart, each waiting what its period leaves over.
        const double interval = check.timing.intervalFor(row.samplePeriod());
        const double division =
            check.timing.sweepSeconds(1, interval) * kUnitsPerDivision / row.x_step;
        out << "  " << row.item << std::string(11 - std::string(row.item).size(), ' ')
            << milliseconds(division)
            << (interval > 0 ? ": true to its label"
                             : ": port too slow for " + std::string(row.item))
            << '\n';
    }
}

} // namespace vistrace
