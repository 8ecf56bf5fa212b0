#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrace {

// The instrument keeps an address as a 16-bit pattern in its signed arithmetic (0xDC00 is
// -9216); the machine and the operator know it as a base address, 0 to 0xFFFF.
inline std::int16_t addressPattern(int baseAddress) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(baseAddress));
}
inline int baseAddressOf(int pattern) {
    return static_cast<std::uint16_t>(pattern);
}

// "DC00": how the Port Address list writes an address.
std::string addressItem(int baseAddress);
// The base address an operator wrote as the list does ("DC00", "378"), with or without 0x;
// nothing for anything else.
std::optional<int> parseAddressItem(std::string_view text);
// "0xDC00": how messages write one.
std::string hexAddress(int baseAddress);

} // namespace vistrace
