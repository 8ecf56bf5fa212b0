#include "port_address.h"

#include <array>
#include <cstdio>

namespace vistrace {
namespace {

std::string formatHex(const char* format, int address) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), format, static_cast<unsigned>(address));
    return text.data();
}

} // namespace

std::string addressItem(int baseAddress) {
    return formatHex("%X", baseAddress);
}

std::string hexAddress(int baseAddress) {
    return formatHex("0x%X", baseAddress);
}

} // namespace vistrace
