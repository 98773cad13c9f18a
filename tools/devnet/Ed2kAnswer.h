#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace devnet {

// One file as an eD2k server lists it in a search answer.
struct Ed2kHit {
    std::array<std::uint8_t, 16> hash{};
    std::string name;  // UTF-8
    std::uint32_t size = 0;
    std::uint8_t sources = 0;
    std::uint32_t clientId = 0;
    std::uint16_t clientPort = 0;
};

// count hits for keyword from the keyword's pool of files; servers with different seeds list
// overlapping parts of the pool, so the same file turns up on several servers.
std::vector<Ed2kHit> Ed2kHitsFor(const std::string& keyword, std::uint32_t serverSeed, int count);

// One record in the compact tag encoding: name 82 01, size 83 02 (or 88 02 below 64 KiB),
// file type 82 03, complete sources 89 30, sources 89 15 last.
std::vector<std::uint8_t> EncodeRecord(const Ed2kHit& hit);

// The whole search-result packet (opcode 0x33): plain (E3) or with a zlib-packed payload (D4).
std::vector<std::uint8_t> SearchAnswerPacket(const std::vector<Ed2kHit>& hits, bool packed);

// A packet with the frame header: protocol, 32-bit length, opcode, payload.
std::vector<std::uint8_t> Frame(std::uint8_t protocol, std::uint8_t opcode,
                                const std::vector<std::uint8_t>& payload);

}  // namespace devnet
