#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Frame of every eD2k packet: protocol byte, 32-bit little-endian length of what follows
// (opcode and payload), opcode.
namespace ed2k {

inline constexpr std::uint8_t kProtocolPlain = 0xE3;
inline constexpr std::uint8_t kProtocolPacked = 0xD4;
inline constexpr std::uint8_t kOpLoginRequest = 0x01;
inline constexpr std::uint8_t kOpSearchRequest = 0x16;
inline constexpr std::uint8_t kOpSearchResult = 0x33;
inline constexpr std::uint8_t kOpIdChange = 0x40;

// The user hash as held: 31 digits, so the 16th byte's low half is 0.
inline constexpr char kUserHashText[] = "A1F27D40E98C6B52D3047FE81A9C26D";
inline constexpr std::size_t kMaxKeywordBytes = 199;

// The 68-byte login packet, the same for every server and search.
const std::array<std::uint8_t, 68>& LoginPacket();

// The search request for keyword: E3, n+4, 16, 01, n, the UTF-8 keyword. A keyword longer
// than 199 bytes is cut at the last whole character that fits.
std::vector<std::uint8_t> SearchRequestPacket(const QString& keyword);

// Whether byte starts an eD2k packet (plain, packed, or eMule's extension).
bool IsProtocolByte(std::uint8_t byte);

// Takes the next packet off the bytes received so far (pending), at most maxSize bytes of it:
// a whole frame, frame header included; a frame longer than maxSize cut there (the rest of it
// is dropped with what is pending); bytes that start with no protocol byte as one packet of all
// there is. Once the stream has ended, a frame started (six bytes or more) is taken as it
// stands. Returns false when no packet can be taken yet.
bool TakePacket(std::vector<std::uint8_t>& pending, std::size_t maxSize, bool streamEnded,
                std::vector<std::uint8_t>& packet);

}  // namespace ed2k
