#pragma once

#include <array>
#include <cstdint>

namespace vistrace {

// Screen units across one division of the graticule; samples lie x_step units apart.
inline constexpr int kUnitsPerDivision = 50;

// The nine time bases: the time a division stands for, how many samples make a sweep, and how
// the trace spreads them over the ten columns of the screen. sample_interval is the wait used
// where there is no counter to measure the port with, and the wait each row starts from.
struct TimeBaseRow {
    const char* item;
    double division; // seconds, as the item says
    double sample_interval;
    std::int16_t sample_count;
    std::uint8_t x_step;
    std::uint8_t trace_width;

    // Seconds from one sample to the next for the trace to be true to the item.
    [[nodiscard]] constexpr double samplePeriod() const {
        return division * x_step / kUnitsPerDivision;
    }
};

inline constexpr std::array<TimeBaseRow, 9> kTimeBaseRows{{
    {"500uS/Div", 0.0005, 0.0, 166, 3, 4},
    {"1mS/Div", 0.001, 0.0, 250, 2, 4},
    {"2mS/Div", 0.002, 0.00001, 500, 1, 3},
    {"5mS/Div", 0.005, 0.00006, 500, 1, 3},
    {"10mS/Div", 0.01, 0.00015, 500, 1, 3},
    {"20mS/Div", 0.02, 0.00035, 500, 1, 3},
    {"50mS/Div", 0.05, 0.0009, 500, 1, 3},
    {"100mS/Div", 0.1, 0.0018, 500, 1, 3},
    {"200mS/Div", 0.2, 0.0036, 500, 1, 3},
}};

} // namespace vistrace
