#pragma once

#include "fixed_decimal.h"
#include "time_bases.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vistrace {

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
template <typename Table>
std::optional<typename Table::value_type> rowAt(const Table& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= std::size(table)) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(index)];
}

} // namespace vistrace
