#include "engine/ed2k/HexText.h"

#include <array>

namespace {

constexpr std::array<std::uint8_t, 256> MakeDigitValues() {
    std::array<std::uint8_t, 256> values{};
    for (int c = '0'; c <= '9'; ++c) values[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) values[c] = static_cast<std::uint8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) values[c] = static_cast<std::uint8_t>(c - 'a' + 10);
    return values;
}
constexpr std::array<std::uint8_t, 256> kDigitValue = MakeDigitValues();

}  // namespace

void HexTextToBytes(const char* text, std::size_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i < n; i += 2) {
        const auto high = kDigitValue[static_cast<unsigned char>(text[i])];
        const auto low = i + 1 < n ? kDigitValue[static_cast<unsigned char>(text[i + 1])] : 0;
        out[i / 2] = static_cast<std::uint8_t>(16 * high + low);
    }
}
