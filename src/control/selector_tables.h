#pragma once

#include "fixed_decimal.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vistrace {

struct TimeBaseRow {
    const char* item;
    double sample_interval;
    std::int16_t sample_count;
    std::uint8_t x_step;
    std::uint8_t trace_width;
};

struct PortRow {
    const char* item;
    std::int16_t port_address;
};

struct GainRow {
    const char* item;
    FixedDecimal volts_gain;
};

struct TriggerLevelRow {
    const char* item;
    std::uint8_t trigger_level;
};

inline constexpr std::array<PortRow, 3> kPortRows{{
    {"378", 0x378},
    {"278", 0x278},
    {"3BC", 0x3BC},
}};

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

inline constexpr std::array<GainRow, 6> kGainRows{{
    {"5V/Div", FixedDecimal::fromTenThousandths(3600)},
    {"2V/Div", FixedDecimal::fromTenThousandths(9000)},
    {"1V/Div", FixedDecimal::fromTenThousandths(18000)},
    {"500mV/Div", FixedDecimal::fromTenThousandths(38000)},
    {"200mV/Div", FixedDecimal::fromTenThousandths(90000)},
    {"100mV/Div", FixedDecimal::fromTenThousandths(130000)},
}};

inline constexpr std::array<TriggerLevelRow, 12> kTriggerLevelRows{{
    {"3V", 51},
    {"2V", 76},
    {"1V", 103},
    {"500mV", 115},
    {"200mV", 123},
    {"100mV", 126},
    {"-100mV", 130},
    {"-200mV", 133},
    {"-500mV", 141},
    {"-1V", 153},
    {"-2V", 180},
    {"-3", 205},
}};

inline constexpr std::array<const char*, 3> kTriggerModeItems{"None", "Repeat", "Single"};
inline constexpr std::array<const char*, 2> kTriggerSlopeItems{"Rising", "Falling"};

enum class TriggerMode : int { None = 0, Repeat = 1, Single = 2 };

// The row a selector's index picks, or nothing for -1 and any other index off the table.
template <typename Row, std::size_t N>
std::optional<Row> rowAt(const std::array<Row, N>& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(index)];
}

} // namespace vistrace
