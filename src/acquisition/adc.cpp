#include "adc.h"

#include "checked.h"

namespace vistrace {

std::int16_t statusAddress(std::int16_t portAddress) {
    return toInt16(static_cast<std::int64_t>(portAddress) + kStatusRegisterOffset);
}

std::uint8_t assembleSample(int firstReading, int secondReading) {
    const int low = (firstReading & 240) / 16;
    const int high = secondReading & 240;
    const int flipped = (low | high) ^ 136;
    return toByte(255 - flipped);
}

std::uint8_t oneread(const ScopeState& state, PortIo& port) {
    port.Out32(state.port_address, kStrobeStart);
    port.Out32(state.port_address, kIdle);
    port.Out32(state.port_address, kSelectLowHalf);
    // Unlike the second, the first reading is never narrowed to a byte, only masked: a reading
    // out of range fails the read at its second half alone, as the instrument's read always has.
    const int first = port.Inp32(statusAddress(state.port_address));
    port.Out32(state.port_address, kIdle);
    const std::uint8_t second = toByte(port.Inp32(statusAddress(state.port_address)));
    return assembleSample(first, second);
}

} // namespace vistrace
