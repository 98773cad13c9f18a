#include "Ed2kAnswer.h"
#include "Random.h"

#include <zlib.h>

#include <algorithm>
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
void Put64(std::vector<std::uint8_t>& out, std::uint64_t v) {
    Put32(out, static_cast<std::uint32_t>(v));
    Put32(out, static_cast<std::uint32_t>(v >> 32));
}

// Writes tags in one dialect.
class TagWriter {
public:
    TagWriter(std::vector<std::uint8_t>& out, Ed2kDialect dialect)
        : m_out(out), m_dialect(dialect) {}

    void String(std::uint8_t id, std::string_view text) {
        if (m_dialect == Ed2kDialect::Compact && !text.empty() && text.size() <= 16) {
            Header(static_cast<std::uint8_t>(0x10 + text.size()), id);
        } else {
            Header(0x02, id);
            Put16(m_out, static_cast<std::uint32_t>(text.size()));
        }
        m_out.insert(m_out.end(), text.begin(), text.end());
    }

    // Compact: the smallest width that holds the value; old-style: 32 bits, or 64 for sizes.
    void Integer(std::uint8_t id, std::uint64_t value, bool size = false) {
        if (m_dialect == Ed2kDialect::OldStyle) {
            if (size) {
                Header(0x0B, id);
                Put64(m_out, value);
            } else {
                Header(0x03, id);
                Put32(m_out, static_cast<std::uint32_t>(value));
            }
        } else if (value < 0x100) {
            Header(0x09, id);
            m_out.push_back(static_cast<std::uint8_t>(value));
        } else if (value < 0x10000) {
            Header(0x08, id);
            Put16(m_out, static_cast<std::uint32_t>(value));
        } else if (value <= 0xFFFFFFFFu) {
            Header(0x03, id);
            Put32(m_out, static_cast<std::uint32_t>(value));
        } else {
            Header(0x0B, id);
            Put64(m_out, value);
        }
    }

    // A tag named by a string rather than an id: no field of a search result uses it.
    void NamedUint32(std::string_view name, std::uint32_t value) {
        m_out.push_back(0x03);
        Put16(m_out, static_cast<std::uint32_t>(name.size()));
        m_out.insert(m_out.end(), name.begin(), name.end());
        Put32(m_out, value);
    }

private:
    void Header(std::uint8_t type, std::uint8_t id) {
        if (m_dialect == Ed2kDialect::Compact) {
            m_out.push_back(static_cast<std::uint8_t>(type | 0x80));
        } else {
            m_out.push_back(type);
            Put16(m_out, 1);
        }
        m_out.push_back(id);
    }

    std::vector<std::uint8_t>& m_out;
    Ed2kDialect m_dialect;
};

const char* const kPatterns[] = {
    "%s.2024.1080p.BluRay.x264.mkv", "[%s] 第%02d集 [中文字幕].mp4",   "%s.S01E%02d.HDTV.avi",
    "%s 原声大碟 %02d.flac",         "%s (Director's Cut) #%02d.rmvb",
};

// What real servers list beside plain files, keyed on the file so that every server lists the
// same file alike.
void AddVariety(Ed2kHit& hit, int index, std::uint64_t seed) {
    constexpr std::uint64_t kMiB = 1048576;
    if (index % 5 == 2) {
        hit.size = (4096 + seed % 8192) * kMiB + seed % 999;  // past 4 GiB
        hit.splitSize = index % 10 == 7;
    } else if (index % 7 == 3) {
        hit.size = (1 + seed % 200) * 16 * kMiB;  // 0x..000000: a run of zero bytes
    }
    if (index % 6 == 4) {
        char name[32];
        std::snprintf(name, sizeof name, "CD%02d.mp3", index % 100);
        hit.name = name;
    }
    if (index % 2 == 0) hit.bitrate = static_cast<std::uint32_t>(128 + seed % 1000);
    if (index % 8 == 5) {
        hit.hash[5] = 0x89;  // the bytes of a sources tag inside the hash
        hit.hash[6] = 0x15;
    } else if (index % 8 == 6) {
        hit.hash[9] = 0x82;  // ... and of a name tag
        hit.hash[10] = 0x01;
    }
}

// Per server: the publisher and how many hold the file.
void AddServerVariety(Ed2kHit& hit, int index, std::uint64_t mix) {
    if (index % 4 == 1) {
        hit.clientId = static_cast<std::uint32_t>(mix % 0x1000000u);  // LowID
        hit.clientPort = 0;
    }
    if (index % 9 == 0)
        hit.sources = static_cast<std::uint32_t>(65536 + mix % 100000);
    else if (index % 3 == 0)
        hit.sources = static_cast<std::uint32_t>(256 + mix % 5000);
    hit.completeSources = hit.sources / 2 + 1;
}

}  // namespace

std::string HashHex(const Ed2kHit& hit) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : hit.hash) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::vector<std::uint8_t> Frame(std::uint8_t protocol, std::uint8_t opcode,
                                const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> packet;
    packet.push_back(protocol);
    Put32(packet, static_cast<std::uint32_t>(payload.size() + 1));
    packet.push_back(opcode);
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

std::vector<std::uint8_t> EncodeRecord(const Ed2kHit& hit, Ed2kDialect dialect) {
    std::vector<std::uint8_t> out(hit.hash.begin(), hit.hash.end());
    Put32(out, hit.clientId);
    Put16(out, hit.clientPort);
    const bool split = dialect == Ed2kDialect::Compact && hit.splitSize && hit.size > 0xFFFFFFFFu;
    Put32(out, 5u + (split ? 1u : 0u) + (hit.bitrate != 0 ? 1u : 0u));  // tag count
    TagWriter tags(out, dialect);
    tags.String(0x01, hit.name);
    if (split) {
        tags.Integer(0x02, hit.size & 0xFFFFFFFFu);
        tags.Integer(0x3A, hit.size >> 32);
    } else {
        tags.Integer(0x02, hit.size, true);
    }
    tags.String(0x03, "Video");
    if (hit.bitrate != 0) tags.NamedUint32("bitrate", hit.bitrate);
    tags.Integer(0x30, hit.completeSources);
    tags.Integer(0x15, hit.sources);
    return out;
}

std::vector<Ed2kHit> Ed2kHitsFor(const std::string& keyword, std::uint32_t serverSeed, int count,
                                 bool realWorld) {
    constexpr int kPool = 60;
    const std::uint64_t base = HashText(keyword);
    std::vector<Ed2kHit> hits;
    const int first = static_cast<int>(Mix(serverSeed) % kPool);
    for (int n = 0; n < count; ++n) {
        const int index = (first + n) % kPool;  // past the pool, files come round again
        const std::uint64_t seed = Mix(base + static_cast<std::uint64_t>(index));
        Ed2kHit hit;
        char name[600];
        std::snprintf(name, sizeof name, kPatterns[seed % 5], keyword.c_str(), index + 1);
        hit.name = name;
        hit.size =
            (seed >> 8) % 8 == 0 ? 1000 + seed % 60000 : 1048576 + (seed >> 16) % 4000000000u;
        for (int i = 0; i < 16; ++i) hit.hash[i] = static_cast<std::uint8_t>(Mix(seed + i) >> 13);
        const std::uint64_t mix = Mix(seed + serverSeed);
        hit.sources = static_cast<std::uint32_t>(mix % 12);
        hit.completeSources = hit.sources / 2 + 1;
        hit.clientId =
            static_cast<std::uint32_t>(0x01010101u + (Mix(seed ^ serverSeed) & 0x7F7F7F7Fu));
        hit.clientPort = 4662;
        if (realWorld) {
            AddVariety(hit, index, seed);
            AddServerVariety(hit, index, mix);
        }
        hits.push_back(hit);
    }
    return hits;
}

namespace {

std::vector<std::uint8_t> Packed(const std::vector<std::uint8_t>& payload) {
    uLongf length = compressBound(payload.size());
    std::vector<std::uint8_t> compressed(length);
    compress2(compressed.data(), &length, payload.data(), payload.size(), 6);
    compressed.resize(length);
    return Frame(0xD4, 0x33, compressed);
}

// Records of 32 bytes: hash, id, port, two tags (a one-letter name, a one-byte size).
void AppendTinyRecords(std::vector<std::uint8_t>& payload, std::size_t bytes, std::uint32_t seed) {
    for (std::uint32_t i = 0; payload.size() + 32 <= bytes; ++i) {
        Put32(payload, seed);
        Put32(payload, i);
        Put64(payload, 0);
        Put32(payload, 0x01020304);
        Put16(payload, 4662);
        Put32(payload, 2);
        payload.insert(payload.end(), {0x91, 0x01, static_cast<std::uint8_t>('a' + i % 26)});
        payload.insert(payload.end(), {0x89, 0x02, static_cast<std::uint8_t>(i)});
    }
}

}  // namespace

std::vector<std::uint8_t> NamelessRecordsAnswer() {
    std::vector<std::uint8_t> payload;
    Put32(payload, 0x7FFFFFFF);
    Ed2kHit first;
    first.name = std::string(499, 'n');
    first.size = 1 << 20;
    const std::vector<std::uint8_t> record = EncodeRecord(first);
    payload.insert(payload.end(), record.begin(), record.end());
    for (std::uint32_t i = 0; payload.size() + 29 <= 1048000; ++i) {
        Put32(payload, i);
        Put32(payload, ~i);
        Put64(payload, 0);
        Put32(payload, 0);
        Put16(payload, 0);
        Put32(payload, 1);
        payload.insert(payload.end(), {0x89, 0x02, static_cast<std::uint8_t>(i)});
    }
    return Frame(0xE3, 0x33, payload);
}

std::vector<std::uint8_t> TinyRecordsAnswer(bool packed, std::uint32_t seed) {
    std::vector<std::uint8_t> payload;
    Put32(payload, 0x7FFFFFFF);
    AppendTinyRecords(payload, packed ? 3u << 20 : 1048000, seed);
    return packed ? Packed(payload) : Frame(0xE3, 0x33, payload);
}

std::vector<std::uint8_t> ZlibBombAnswer() {
    static const std::vector<std::uint8_t> answer = [] {
        std::vector<std::uint8_t> payload;
        Put32(payload, 0x7FFFFFFF);
        AppendTinyRecords(payload, 4 + 32 * 10, 0xB0B);
        payload.resize(100u << 20, 0);
        return Packed(payload);
    }();
    return answer;
}

std::vector<std::uint8_t> SearchAnswerPacket(const std::vector<Ed2kHit>& hits, bool packed,
                                             Ed2kDialect dialect) {
    const bool oldStyle = dialect == Ed2kDialect::OldStyle;
    const std::size_t count =
        oldStyle ? std::min<std::size_t>(hits.size(), kOldStyleMaxResults) : hits.size();
    std::vector<std::uint8_t> payload;
    Put32(payload, static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> record = EncodeRecord(hits[i], dialect);
        payload.insert(payload.end(), record.begin(), record.end());
    }
    if (!oldStyle) payload.push_back(0x00);  // no more results to ask for
    if (!packed || oldStyle) return Frame(0xE3, 0x33, payload);
    return Packed(payload);
}

}  // namespace devnet
