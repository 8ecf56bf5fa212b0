#pragma once

#include "inpout.h"
#include "scope_state.h"

#include <cstdint>

namespace vistrace {

// Data-register values of the converter's read sequence. Bit 0 falling starts a
// conversion; bit 1 selects which half of the sample the status register presents.
inline constexpr int kStrobeStart = 254;
inline constexpr int kIdle = 255;
inline constexpr int kSelectLowHalf = 253;

// Status address of the port whose data register is at portAddress, in the instrument's
// checked arithmetic: 32767 has none.
std::int16_t statusAddress(std::int16_t portAddress);

// Puts a sample together from the two status readings: bits 4 to 7 of the first are the
// low half, bits 4 to 7 of the second the high half. Every bit is the complement of its
// pin level; status bit 7 already reads inverted, so it is the one bit taken as it is.
std::uint8_t assembleSample(int firstReading, int secondReading);

// One complete converter read at state.port_address.
std::uint8_t oneread(const ScopeState& state, PortIo& port);

} // namespace vistrace
