#pragma once

#include <array>
#include <cstdint>

namespace vistrace {

// The nine time bases: how long to wait before each sample, how many samples make a sweep,
// and how the trace spreads them over the ten columns of the screen.
struct TimeBaseRow {
    const char* item;
    double sample_interval;
    std::int16_t sample_count;
    std::uint8_t x_step;
    std::uint8_t trace_width;
};

inline constexpr std::array<TimeBaseRow, 9> kTimeBaseRows{{
    {"500uS/Div", 0.0, 166, 3, 4},
    {"1mS/Div", 0.0, 250, 2, 4},
    {"2mS/Div", 0.00001, 500, 1, 3},
    {"5mS/Div", 0.00006, 500, 1, 3},
    {"10mS/Div", 0.00015, 500, 1, 3},
    {"20mS/Div", 0.00035, 500, 1, 3},
    {"50mS/Div", 0.0009, 500, 1, 3},
    {"100mS/Div", 0.0018, 500, 1, 3},
    {"200mS/Div", 0.0036, 500, 1, 3},
}};

} // namespace vistrace
