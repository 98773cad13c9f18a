#pragma once

#include <cstddef>
#include <cstdint>

// Writes ceil(n/2) bytes from the first n characters of text, two hex digits per byte
// ("0"-"9", "A"-"F", "a"-"f"; any other character counts as 0, so an odd last digit gives a
// byte whose low half is 0).
void HexTextToBytes(const char* text, std::size_t n, std::uint8_t* out);
