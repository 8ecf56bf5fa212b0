#include "port_address.h"

#include <algorithm>
#include <array>
#include <cctype>
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

std::optional<int> parseAddressItem(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 4 ||
        !std::ranges::all_of(text, [](unsigned char digit) { return std::isxdigit(digit) != 0; })) {
        return std::nullopt;
    }
    return std::stoi(std::string(text), nullptr, 16);
}

std::string hexAddress(int baseAddress) {
    return formatHex("0x%X", baseAddress);
}

} // namespace vistrace
