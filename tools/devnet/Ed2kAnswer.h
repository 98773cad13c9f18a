#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace devnet {

// How a server writes the tags of its search answers.
enum class Ed2kDialect {
    // As mainstream servers answer a client that announces new tags: one-byte tag ids with the
    // 0x80 bit, integers in their smallest width, short strings with their length in the type
    // byte, a string-named tag now and then, and a trailing "more results" byte.
    Compact,
    // As open-source servers answer: every tag with a two-byte name length and a one-byte name,
    // strings as type 0x02, sizes always 64-bit, counts 32-bit; never packed, at most 200
    // results.
    OldStyle,
};

inline constexpr int kOldStyleMaxResults = 200;

// One file as an eD2k server lists it in a search answer.
struct Ed2kHit {
    std::array<std::uint8_t, 16> hash{};
    std::string name;  // UTF-8
    std::uint64_t size = 0;
    bool splitSize = false;  // past 4 GiB, compact: low half in tag 0x02, high half in 0x3A
    std::uint32_t sources = 0;
    std::uint32_t completeSources = 0;
    std::uint32_t bitrate = 0;  // 0: no "bitrate" tag
    std::uint32_t clientId = 0;
    std::uint16_t clientPort = 0;
};

// count hits for keyword from the keyword's pool of files; servers with different seeds list
// overlapping parts of the pool, so the same file turns up on several servers. With realWorld,
// the pool also holds what real servers list: LowID publishers (id below 0x1000000, port 0),
// sizes past 4 GiB and on 16 MiB boundaries, source counts past 255 and 65535, names short
// enough for a short string, media files with a bitrate, and hashes that hold the bytes of
// tag headers.
std::vector<Ed2kHit> Ed2kHitsFor(const std::string& keyword, std::uint32_t serverSeed, int count,
                                 bool realWorld = false);

// The file's hash as an ed2k link writes it: 32 upper-case hex digits.
std::string HashHex(const Ed2kHit& hit);

// One record: hash, client id and port, tag count, tags (name, size, file type, complete
// sources, sources, and the bitrate when there is one).
std::vector<std::uint8_t> EncodeRecord(const Ed2kHit& hit,
                                       Ed2kDialect dialect = Ed2kDialect::Compact);

// The whole search-result packet (opcode 0x33): plain (E3) or with a zlib-packed payload (D4).
// Old-style answers are never packed and hold at most 200 results.
std::vector<std::uint8_t> SearchAnswerPacket(const std::vector<Ed2kHit>& hits, bool packed,
                                             Ed2kDialect dialect = Ed2kDialect::Compact);

// Hostile answers, each about as large as a client reads.
// Plain, about 1 MiB: one record with a 499-byte name, then records with a size and no name.
std::vector<std::uint8_t> NamelessRecordsAnswer();
// The most results the bytes can hold: records of 32 bytes with a one-letter name; plain about
// 1 MiB, or packed so that it inflates past 2 MiB. Each server's hashes differ by seed.
std::vector<std::uint8_t> TinyRecordsAnswer(bool packed, std::uint32_t seed);
// Packed: a few records, then zeros that inflate to 100 MiB.
std::vector<std::uint8_t> ZlibBombAnswer();

// A packet with the frame header: protocol, 32-bit length, opcode, payload.
std::vector<std::uint8_t> Frame(std::uint8_t protocol, std::uint8_t opcode,
                                const std::vector<std::uint8_t>& payload);

}  // namespace devnet
