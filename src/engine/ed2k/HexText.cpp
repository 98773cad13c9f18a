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

std::array<char, 512> MakeHexPairs() {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<char, 512> pairs{};
    for (int b = 0; b < 256; ++b) {
        pairs[2 * b] = kDigits[b >> 4];
        pairs[2 * b + 1] = kDigits[b & 15];
    }
    return pairs;
}

}  // namespace

void HexTextToBytes(const char* text, std::size_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i < n; i += 2) {
        const auto high = kDigitValue[static_cast<unsigned char>(text[i])];
        const auto low = i + 1 < n ? kDigitValue[static_cast<unsigned char>(text[i + 1])] : 0;
        out[i / 2] = static_cast<std::uint8_t>(16 * high + low);
    }
}

void AppendHexImage(const std::uint8_t* bytes, std::size_t size, std::string& out) {
    static const std::array<char, 512> pairs = MakeHexPairs();
    const std::size_t start = out.size();
    out.resize(start + 2 * size);
    char* write = out.data() + start;
    for (std::size_t i = 0; i < size; ++i) {
        write[2 * i] = pairs[2 * bytes[i]];
        write[2 * i + 1] = pairs[2 * bytes[i] + 1];
    }
}
