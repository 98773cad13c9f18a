#include "Ed2kAnswer.h"
#include "Random.h"

#include <zlib.h>

#include <cstdio>
#include <string_view>

namespace devnet {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

int Count(std::string_view text, std::string_view marker, bool overlapping = true) {
    int count = 0;
    for (std::size_t at = text.find(marker); at != std::string_view::npos;
         at = text.find(marker, at + (overlapping ? 1 : marker.size())))
        ++count;
    return count;
}

// Whether a scan by tag markers finds exactly the fields of this record and nothing else.
bool Readable(const Ed2kHit& hit) {
    const std::string hex = Hex(EncodeRecord(hit));
    const bool twoByteSize = hit.size < 65536;
    return Count(hex, "8915") == 1 && Count(hex, "8201") == 1 &&
           Count(hex, "8302") == (twoByteSize ? 0 : 1) &&
           Count(hex, "8802") == (twoByteSize ? 1 : 0) && Count(hex, "000000") == 1 &&
           hex.find("000000") == 46 && hex.rfind("8915") == hex.size() - 6;
}

const char* const kPatterns[] = {
    "%s.2024.1080p.BluRay.x264.mkv", "[%s] 第%02d集 [中文字幕].mp4",   "%s.S01E%02d.HDTV.avi",
    "%s 原声大碟 %02d.flac",         "%s (Director's Cut) #%02d.rmvb",
};

}  // namespace

std::vector<std::uint8_t> Frame(std::uint8_t protocol, std::uint8_t opcode,
                                const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> packet;
    packet.push_back(protocol);
    Put32(packet, static_cast<std::uint32_t>(payload.size() + 1));
    packet.push_back(opcode);
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

std::vector<std::uint8_t> EncodeRecord(const Ed2kHit& hit) {
    std::vector<std::uint8_t> out(hit.hash.begin(), hit.hash.end());
    Put32(out, hit.clientId);
    Put16(out, hit.clientPort);
    Put32(out, 5);  // tag count
    out.insert(out.end(), {0x82, 0x01});
    Put16(out, static_cast<std::uint32_t>(hit.name.size()));
    out.insert(out.end(), hit.name.begin(), hit.name.end());
    if (hit.size < 65536) {
        out.insert(out.end(), {0x88, 0x02});
        Put16(out, hit.size);
    } else {
        out.insert(out.end(), {0x83, 0x02});
        Put32(out, hit.size);
    }
    out.insert(out.end(), {0x82, 0x03, 0x05, 0x00, 'V', 'i', 'd', 'e', 'o'});
    out.insert(out.end(), {0x89, 0x30, static_cast<std::uint8_t>(hit.sources / 2 + 1)});
    out.insert(out.end(), {0x89, 0x15, hit.sources});
    return out;
}

std::vector<Ed2kHit> Ed2kHitsFor(const std::string& keyword, std::uint32_t serverSeed, int count) {
    constexpr int kPool = 60;
    const std::uint64_t base = HashText(keyword);
    std::vector<Ed2kHit> hits;
    const int first = static_cast<int>(Mix(serverSeed) % kPool);
    for (int n = 0; n < count; ++n) {
        const int index = (first + n) % kPool;  // past the pool, files come round again
        std::uint64_t seed = Mix(base + static_cast<std::uint64_t>(index));
        Ed2kHit hit;
        char name[600];
        std::snprintf(name, sizeof name, kPatterns[seed % 5], keyword.c_str(), index + 1);
        hit.name = name;
        hit.size = (seed >> 8) % 8 == 0
                       ? static_cast<std::uint32_t>(1000 + seed % 60000)
                       : static_cast<std::uint32_t>(1048576 + (seed >> 16) % 4000000000u);
        hit.sources = static_cast<std::uint8_t>(Mix(seed + serverSeed) % 12);
        hit.clientId =
            static_cast<std::uint32_t>(0x01010101u + (Mix(seed ^ serverSeed) & 0x7F7F7F7Fu));
        hit.clientPort = 4662;
        // Move the file's fields off anything a marker scan would trip over.
        for (int attempt = 0; attempt < 200; ++attempt) {
            for (int i = 0; i < 16; ++i)
                hit.hash[i] = static_cast<std::uint8_t>(Mix(seed + i) >> 13);
            if (Readable(hit)) break;
            seed = Mix(seed);
            hit.size += 257;
            hit.clientId += 0x01030507u;
        }
        hits.push_back(hit);
    }
    return hits;
}

std::vector<std::uint8_t> SearchAnswerPacket(const std::vector<Ed2kHit>& hits, bool packed) {
    std::vector<std::uint8_t> payload;
    Put32(payload, static_cast<std::uint32_t>(hits.size()));
    for (const Ed2kHit& hit : hits) {
        const std::vector<std::uint8_t> record = EncodeRecord(hit);
        payload.insert(payload.end(), record.begin(), record.end());
    }
    if (!packed) return Frame(0xE3, 0x33, payload);
    uLongf length = compressBound(payload.size());
    std::vector<std::uint8_t> compressed(length);
    compress2(compressed.data(), &length, payload.data(), payload.size(), 6);
    compressed.resize(length);
    return Frame(0xD4, 0x33, compressed);
}

}  // namespace devnet
