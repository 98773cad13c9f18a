#include "ed2k/SearchAnswerDecoder.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "ed2k/HexText.h"

namespace ed2k {

namespace {

using Pos = std::ptrdiff_t;
using Text = std::string_view;

constexpr std::size_t kNameBytes = 499;  // longer names are cut to this many bytes

// Hex text is full of every marker's first digit, so a scan for the first character stops all
// the time. This one tests the first and the last character of the marker for 16 positions at
// once and compares the middle only where both match.
Pos Find(Text x, Text marker) {
    const std::size_t k = marker.size();
    const std::size_t n = x.size();
    if (k < 2 || n < k) {
        const std::size_t at = x.find(marker);
        return at == Text::npos ? -1 : static_cast<Pos>(at);
    }
    const char* s = x.data();
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(marker[0]);
    const __m128i last = _mm_set1_epi8(marker[k - 1]);
    for (; i + k - 1 + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + k - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(s + i + bit + 1, marker.data() + 1, k - 2) == 0)
                return static_cast<Pos>(i + bit);
            mask &= mask - 1;
        }
    }
#endif
    for (; i + k <= n; ++i)
        if (s[i] == marker[0] && std::memcmp(s + i, marker.data(), k) == 0)
            return static_cast<Pos>(i);
    return -1;
}

Text From(Text x, Pos a) {
    if (a < 0) a = 0;
    if (static_cast<std::size_t>(a) >= x.size()) return {};
    return x.substr(static_cast<std::size_t>(a));
}

Text Take(Text x, Pos a, Pos k) {
    x = From(x, a);
    if (k < 0) k = 0;
    return x.substr(0, std::min<std::size_t>(static_cast<std::size_t>(k), x.size()));
}

// The first bytes of x converted into a zeroed value area (missing digits leave zeros).
std::uint32_t ValueLE(Text x, std::size_t bytes) {
    std::uint8_t value[4] = {};
    const std::size_t digits = std::min(x.size(), 2 * bytes);
    HexTextToBytes(x.data(), digits, value);
    std::uint32_t result = 0;
    for (std::size_t i = bytes; i-- > 0;) result = (result << 8) | value[i];
    return result;
}
std::uint32_t Le32(Text x) {
    return ValueLE(x, 4);
}
std::uint32_t Le16(Text x) {
    return ValueLE(x, 2);
}
std::uint32_t Byte0(Text x) {
    return ValueLE(x, 1);
}

QString NameFromDigits(Text digits) {
    std::uint8_t bytes[kNameBytes + 1] = {};
    HexTextToBytes(digits.data(), std::min(digits.size(), 2 * kNameBytes), bytes);
    std::size_t length = ::strnlen(reinterpret_cast<const char*>(bytes), kNameBytes);
    if (digits.size() > 2 * kNameBytes) {
        // Cut: drop a character whose bytes did not all fit.
        std::size_t lead = length;
        while (lead > 0 && (bytes[lead - 1] & 0xC0) == 0x80) --lead;
        if (lead > 0 && bytes[lead - 1] >= 0xC0) {
            const std::uint8_t b = bytes[lead - 1];
            const std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
            if (length - (lead - 1) < need) length = lead - 1;
        }
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
}

class Decoder {
public:
    explicit Decoder(QStringList& results) : m_results(results) {}

    void Append(Text hash, std::uint32_t size, std::uint32_t sources) {
        // The link is built in a reused buffer and copied out at its exact size: an answer
        // holds thousands of results, and every spare byte of a kept text counts.
        m_link.resize(0);
        m_link += QLatin1String("ed2k://|file|");
        AppendPercentEncodedUtf8(m_name, m_link);
        m_link += u'|';
        m_link += QString::number(size);
        m_link += u'|';
        m_link += QLatin1String(hash.data(), static_cast<qsizetype>(hash.size()));
        m_link += QLatin1String("|/");
        m_results << m_name << SizeText(size) << QString::number(sources)
                  << QString(m_link.constData(), m_link.size());
    }

    void FirstRecord(Text r, Text hash) {
        m_name.clear();
        ReadName(r, false);
        std::uint32_t size = 0;
        ReadSize(r, size);  // the first record yields a result even without a size tag
        Append(hash, size, Sources(r));
    }

    // Returns the result value.
    int LaterRecords(Text t, std::int32_t n) {
        std::int32_t remaining = n - 1;
        if (remaining <= 0) return n;
        for (;;) {
            const Pos p = Find(t, "8915");
            if (p == -1) return remaining;
            Text r = Take(t, 0, p + 6);
            t = From(t, p + 6);
            // The hash is anchored on the last non-overlapping 000000 before the cut; each
            // further one restarts the record just past the one before.
            Text hash = CutHash(r);
            while (Find(r, "000000") != -1) hash = CutHash(r);
            ReadName(r, true);  // without a name tag the previous name stays
            std::uint32_t size = 0;
            if (!ReadSize(r, size)) continue;  // no size: no result
            Append(hash, size, Sources(r));
            if (--remaining <= 0) return n;
        }
    }

    // The hash: the 32 digits ending 46 digits before the first 000000 of r; r moves past it.
    static Text CutHash(Text& r) {
        const Pos q = Find(r, "000000");
        const Text hash = Take(Take(r, q - 46, q), 0, 32);
        r = From(r, q + 6);
        return hash;
    }

private:
    // Reads the name tag of r into m_name, if there is one. The name ends at the size tag or
    // after its announced length; later records move r past it, the first does not.
    void ReadName(Text& r, bool movePast) {
        const Pos i = Find(r, "8201");
        if (i == -1) return;
        r = From(r, i + 4);
        const Pos length = Le16(Take(r, 0, 4));
        r = From(r, 4);
        const Pos j = Find(r, "8302");
        const Pos nameLength = j != -1 ? j : 2 * length;
        m_name = NameFromDigits(Take(r, 0, nameLength));
        if (movePast) r = From(r, nameLength);
    }

    // Reads a four-byte size (8302, r moves past the tag) or else a two-byte one (8802).
    // Returns false when neither tag is there; size is then read as from position 3.
    static bool ReadSize(Text& r, std::uint32_t& size) {
        if (const Pos j = Find(r, "8302"); j != -1) {
            r = From(r, j + 4);
            size = Le32(Take(r, 0, 8));
            return true;
        }
        const Pos k = Find(r, "8802");
        size = Le16(Take(From(r, k + 4), 0, 4));
        return k != -1;
    }

    static std::uint32_t Sources(Text r) { return Byte0(From(r, Find(r, "8915") + 4)); }

    QStringList& m_results;
    QString m_name;  // carried to a later record without a name tag
    QString m_link;  // scratch buffer for the link
};

// Inflates the zlib stream that starts at byte 6 of the answer area, as a fixed-size input
// area (the area's bytes, then zeros) would be: stops at the stream's end, at an error, or
// when the output that is read is full. The output goes straight into the hex image, a chunk
// at a time, so the inflated bytes are never held whole. Returns the bytes inflated.
std::size_t InflatePackedToHex(const std::uint8_t* answer, std::size_t received,
                               std::string& image) {
    constexpr std::size_t kSourceLength = 2097146;  // the length handed to the inflater
    constexpr std::size_t kChunk = 65536;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return 0;
    auto chunk = std::make_unique<std::uint8_t[]>(kChunk);
    static const std::uint8_t kZeros[65536] = {};
    std::size_t fed = 0;
    std::size_t written = 0;
    const std::size_t dataBytes = received > 6 ? received - 6 : 0;
    int status = Z_OK;
    while (status == Z_OK && written < kInflatedReadSize && fed < kSourceLength) {
        if (fed < dataBytes) {
            stream.next_in = const_cast<Bytef*>(answer + 6 + fed);
            stream.avail_in = static_cast<uInt>(dataBytes - fed);
        } else {
            stream.next_in = const_cast<Bytef*>(kZeros);
            stream.avail_in = static_cast<uInt>(std::min(sizeof kZeros, kSourceLength - fed));
        }
        const std::size_t room = std::min(kChunk, kInflatedReadSize - written);
        stream.next_out = chunk.get();
        stream.avail_out = static_cast<uInt>(room);
        const uInt before = stream.avail_in;
        status = inflate(&stream, Z_NO_FLUSH);
        fed += before - stream.avail_in;
        const std::size_t produced = room - stream.avail_out;
        AppendHexImage(chunk.get(), produced, image);
        written += produced;
        if (status == Z_BUF_ERROR && before == stream.avail_in && produced == 0) break;
    }
    inflateEnd(&stream);
    return written;
}

}  // namespace

QString SizeText(std::uint64_t size) {
    // "%3.2f" and the unit: to_chars rounds exactly as printf does, without its overhead. The
    // width never pads, as "0.00" is already four characters.
    const double value = static_cast<double>(size);
    double scaled = value / 1073741824.0;
    char unit = 'G';
    if (size < 1048576ull) {
        scaled = value / 1024.0;
        unit = 'K';
    } else if (size < 1073741824ull) {
        scaled = value / 1048576.0;
        unit = 'M';
    }
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text - 1, scaled, std::chars_format::fixed, 2);
    *end.ptr = unit;
    return QString::fromLatin1(text, end.ptr + 1 - text);
}

QString PercentEncodeUtf8(const QString& text) {
    QString out;
    AppendPercentEncodedUtf8(text, out);
    return out;
}

void AppendPercentEncodedUtf8(const QString& text, QString& link) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    static constexpr std::string_view kKept = "-_.!~*'()[],&#";
    const qsizetype start = link.size();
    link.resize(start + 9 * text.size());  // the most one UTF-16 unit can become
    char16_t* const begin = reinterpret_cast<char16_t*>(link.data()) + start;
    char16_t* out = begin;
    auto escape = [&out](unsigned byte) {
        *out++ = u'%';
        *out++ = kHex[(byte >> 4) & 15];
        *out++ = kHex[byte & 15];
    };
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            (c < 0x80 && kKept.find(static_cast<char>(c)) != std::string_view::npos)) {
            *out++ = c;
        } else if (c <= 0x7F) {
            escape(c);
        } else if (c <= 0x7FF) {
            escape(0xC0 + (c >> 6));
            escape(0x80 + (c & 0x3F));
        } else {
            escape(0xE0 + (c >> 12));
            escape(0x80 + ((c >> 6) & 0x3F));
            escape(0x80 + (c & 0x3F));
        }
    }
    link.truncate(start + (out - begin));
}

int DecodeSearchAnswer(const std::uint8_t* answer, std::size_t received, QStringList& results) {
    received = std::min(received, kAnswerAreaSize);
    std::string image;
    Decoder decoder(results);
    const bool plain = received > 0 && answer[0] == 0xE3;
    if (plain) {
        image.reserve(2 * kAnswerAreaSize);
        AppendHexImage(answer, received, image);
        image.append(2 * (kAnswerAreaSize - received), '0');
        Text t = From(image, 12);
        const auto n = static_cast<std::int32_t>(Le32(Take(t, 0, 8)));
        t = From(t, 8);
        const Text hash = Take(t, 0, 32);
        const Pos p = Find(t, "8915");
        // The record ends right after the sources tag's value, as in packed answers.
        const Text r = Take(t, 0, p + 6);
        t = From(t, p + 6);
        decoder.FirstRecord(r, hash);
        return decoder.LaterRecords(t, n);
    }
    image.reserve(2 * kInflatedReadSize);
    const std::size_t written = InflatePackedToHex(answer, received, image);
    image.append(2 * (kInflatedReadSize - written), '0');
    Text t = image;
    const auto n = static_cast<std::int32_t>(Le32(Take(t, 0, 8)));
    t = From(t, 8);
    const Pos p = Find(t, "8915");
    Text r = Take(t, 0, p + 6);
    t = From(t, p + 6);
    const Text hash = Decoder::CutHash(r);
    decoder.FirstRecord(r, hash);
    return decoder.LaterRecords(t, n);
}

}  // namespace ed2k
