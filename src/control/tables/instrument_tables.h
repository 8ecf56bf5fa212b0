#pragma once

#include "fixed_decimal.h"
#include "realtime_sweeps.h"
#include "scope_state.h"
#include "trigger.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

// The instrument's selector tables and its start-up defaults, in one place and free of Qt so
// that the probe can use the time bases too. A named default is checked against the item it
// claims to pick.
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
    // The four fields a time base sets, in the window's handler and vistrace-capture alike.
    void applyTo(ScopeState& state) const {
        state.sample_interval = sample_interval;
        state.sample_count = sample_count;
        state.x_step = x_step;
        state.trace_width = trace_width;
    }
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

// The row a selector's index picks, or nothing for -1 and any other index off the table.
template <typename Table>
constexpr std::optional<typename Table::value_type> rowAt(const Table& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= std::size(table)) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(index)];
}

// Whether a named index picks the item it claims to.
template <typename Table>
constexpr bool picks(const Table& table, int index, std::string_view item) {
    const auto row = rowAt(table, index);
    if constexpr (std::is_same_v<typename Table::value_type, const char*>) {
        return row && std::string_view(*row) == item;
    } else {
        return row && std::string_view(row->item) == item;
    }
}

// Start-up selects a row of each table (the kStart...Row names), and in between assigns some
// fields directly, which the handlers of the later selections assign again: the values of the
// rows it selects, but for a sample_interval of 0.

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
// Real-time capture is offered only where the kernel's share holds the shortest sweep.
static_assert(kShortestSweepSeconds == kTimeBaseRows[0].division * 10);
inline constexpr int kStartTimeBaseRow = 2;
static_assert(picks(kTimeBaseRows, kStartTimeBaseRow, "2mS/Div"));
inline constexpr double kStartSampleInterval = 0.0;
inline constexpr std::int16_t kStartSampleCount = 500;
static_assert(kStartSampleCount == kTimeBaseRows[kStartTimeBaseRow].sample_count);
inline constexpr std::uint8_t kStartXStep = 1;
static_assert(kStartXStep == kTimeBaseRows[kStartTimeBaseRow].x_step);
inline constexpr std::uint8_t kStartTraceWidth = 3;
static_assert(kStartTraceWidth == kTimeBaseRows[kStartTimeBaseRow].trace_width);

inline constexpr std::array<PortRow, 3> kPortRows{{
    {"378", 0x378},
    {"278", 0x278},
    {"3BC", 0x3BC},
}};
inline constexpr int kStartPortRow = 0;
static_assert(picks(kPortRows, kStartPortRow, "378"));
inline constexpr std::int16_t kStartPortAddress = 888;
static_assert(kStartPortAddress == kPortRows[kStartPortRow].port_address);

inline constexpr std::array<GainRow, 6> kGainRows{{
    {"5V/Div", FixedDecimal::fromTenThousandths(3600)},
    {"2V/Div", FixedDecimal::fromTenThousandths(9000)},
    {"1V/Div", FixedDecimal::fromTenThousandths(18000)},
    {"500mV/Div", FixedDecimal::fromTenThousandths(38000)},
    {"200mV/Div", FixedDecimal::fromTenThousandths(90000)},
    {"100mV/Div", FixedDecimal::fromTenThousandths(130000)},
}};
inline constexpr int kStartGainRow = 0;
static_assert(picks(kGainRows, kStartGainRow, "5V/Div"));
inline constexpr FixedDecimal kStartVoltsGain = FixedDecimal::fromTenThousandths(3600);
static_assert(kStartVoltsGain == kGainRows[kStartGainRow].volts_gain);

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
inline constexpr int kStartTriggerLevelRow = 5;
static_assert(picks(kTriggerLevelRows, kStartTriggerLevelRow, "100mV"));
inline constexpr std::uint8_t kStartTriggerLevel = 126;
static_assert(kStartTriggerLevel == kTriggerLevelRows[kStartTriggerLevelRow].trigger_level);

enum class TriggerMode : int { None = 0, Repeat = 1, Single = 2 };
inline constexpr std::array<const char*, 3> kTriggerModeItems{"None", "Repeat", "Single"};
static_assert(picks(kTriggerModeItems, static_cast<int>(TriggerMode::None), "None"));
static_assert(picks(kTriggerModeItems, static_cast<int>(TriggerMode::Repeat), "Repeat"));
static_assert(picks(kTriggerModeItems, static_cast<int>(TriggerMode::Single), "Single"));
inline constexpr TriggerMode kStartTriggerMode = TriggerMode::None;

// Indexed by TriggerSlope, which the trigger wait reads.
inline constexpr std::array<const char*, 2> kTriggerSlopeItems{"Rising", "Falling"};
static_assert(picks(kTriggerSlopeItems, static_cast<int>(TriggerSlope::Rising), "Rising"));
static_assert(picks(kTriggerSlopeItems, static_cast<int>(TriggerSlope::Falling), "Falling"));
inline constexpr TriggerSlope kStartTriggerSlope = TriggerSlope::Rising;

// Where the offset bars rest when the window opens, and where the reset puts them back: 0 V
// near the screen's middle row, the first sample at its left edge.
inline constexpr int kRestXOffset = 0;
inline constexpr int kRestYOffset = 212;

} // namespace vistrace
