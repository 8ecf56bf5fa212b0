#include "simulated_converter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace vistrace {
namespace {

// Status bits 0 to 2 are lines the converter does not drive; a real port reads them high.
constexpr int kUndrivenStatusBits = 0x07;
// Every input of an open port floats high; status bit 7 reads as the complement of its pin.
constexpr std::int16_t kFloatingStatus = 0x7F;
constexpr std::int16_t kNothingThere = 0xFF;

// The sample value a converter gives for an input voltage, without noise.
std::uint8_t sampleFor(double volts) {
    const double value = std::round(128.0 - SimulatedConverter::kUnitsPerVolt * volts);
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

// Without trailing zeros: "1", "2.5".
std::string number(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%g", value);
    return text.data();
}

} // namespace

SimulatedConverter::SimulatedConverter(PerformanceCounter& clock, Settings settings)
    : clock_(clock), settings_(std::move(settings)), noise_(20261206U) {
    clock_.QueryPerformanceFrequency(frequency_);
}

SimulatedConverter::Signal SimulatedConverter::sine(double peakVolts, double hertz) {
    return {[peakVolts, hertz](double seconds) {
                return peakVolts * std::sin(2.0 * std::numbers::pi * hertz * seconds);
            },
            "a " + (hertz >= 1000 ? number(hertz / 1000) + " kHz" : number(hertz) + " Hz") +
                " sine of " + number(peakVolts) + " V peak"};
}

std::string SimulatedConverter::Settings::describe() const {
    return signal.description + ", " + number(static_cast<double>(accessNanoseconds) / 1000) +
           " us per port access";
}

double SimulatedConverter::secondsNow() {
    std::int64_t now = 0;
    clock_.QueryPerformanceCounter(now);
    return static_cast<double>(now) / static_cast<double>(frequency_);
}

// The converter's own work happens within the access, as on a real port, whose bus time does not
// depend on what answers it: an access that began at start ends accessNanoseconds later.
void SimulatedConverter::finishAccess(std::int64_t start) {
    const std::int64_t ticks = settings_.accessNanoseconds * frequency_ / 1'000'000'000;
    std::int64_t now = start;
    while (settings_.accessNanoseconds > 0 && now - start < ticks) {
        clock_.QueryPerformanceCounter(now);
    }
}

std::uint8_t SimulatedConverter::convert() {
    int value = sampleFor(settings_.signal.volts(secondsNow()));
    if (settings_.noiseUnits > 0) {
        std::uniform_int_distribution<int> deviation(-settings_.noiseUnits, settings_.noiseUnits);
        value += deviation(noise_);
    }
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void SimulatedConverter::Out32(std::int16_t address, int value) {
    std::int64_t start = 0;
    clock_.QueryPerformanceCounter(start);
    if (address == kConverterPort) {
        const int written = value & 0xFF;
        const bool startFalls = (data_ & 1) != 0 && (written & 1) == 0;
        data_ = written;
        if (startFalls) {
            held_ = convert();
        }
    }
    finishAccess(start);
}

std::int16_t SimulatedConverter::Inp32(std::int16_t address) {
    std::int64_t start = 0;
    clock_.QueryPerformanceCounter(start);
    finishAccess(start);
    if (address == kConverterPort + kStatusRegisterOffset) {
        const int half = (data_ & 2) != 0 ? held_ >> 4 : held_ & 0x0F;
        // Pins carry the complement of each bit; bit 7's pin is complemented once more.
        return static_cast<std::int16_t>(((half ^ 0x7) << 4) | kUndrivenStatusBits);
    }
    const bool openPortStatus = std::ranges::any_of(kOpenPorts, [address](std::int16_t open) {
        return address == open + kStatusRegisterOffset;
    });
    return openPortStatus ? kFloatingStatus : kNothingThere;
}

} // namespace vistrace
