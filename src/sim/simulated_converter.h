#pragma once

#include "inpout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace vistrace {

// A virtual 8-bit converter on a virtual parallel port at 0x378, wired as the real one:
// bit 0 of the data register falling starts a conversion, bit 1 low shows the low half of
// the sample on status bits 4 to 7, bit 1 high the high half, each bit as the complement
// of the sample bit on its pin, and status bit 7 inverted by the port. The ports at 0x278
// and 0x3BC exist with nothing attached.
class SimulatedConverter final : public PortIo {
public:
    struct Signal {
        std::function<double(double)> volts; // the input voltage at a time in seconds
        std::string description;             // "a 1 kHz sine of 2 V peak"
    };
    struct Settings {
        // Busy time of every port access, as on a legacy port behind a driver.
        std::int64_t accessNanoseconds = 5'000;
        Signal signal = sine(2.0, 1000.0);
        // Largest random deviation, in sample units, added to each conversion.
        int noiseUnits = 1;

        // "a 1 kHz sine of 2 V peak, 5 us per port access"
        [[nodiscard]] std::string describe() const;
    };

    static constexpr std::int16_t kConverterPort = 0x378;
    static constexpr std::array<std::int16_t, 2> kOpenPorts{0x278, 0x3BC};
    static constexpr double kUnitsPerVolt = 25.5;

    // clock times the conversions and the access delays; it must have a nonzero frequency.
    SimulatedConverter(PerformanceCounter& clock, Settings settings);

    void Out32(std::int16_t address, int value) override;
    std::int16_t Inp32(std::int16_t address) override;

    static Signal sine(double peakVolts, double hertz);

private:
    double secondsNow();
    void finishAccess(std::int64_t start);
    std::uint8_t convert();

    PerformanceCounter& clock_;
    Settings settings_;
    std::int64_t frequency_ = 0;
    std::minstd_rand noise_;
    int data_ = 0xFF;
    std::uint8_t held_ = 0;
};

} // namespace vistrace
