#include "engine/ed2k/SearchAnswerDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

#include "engine/ed2k/Ed2kTags.h"

namespace ed2k {

namespace {

constexpr std::size_t kNameBytes = 499;  // longer names are cut to this many bytes

// Letters, digits and a few marks go into a link as they are.
constexpr std::array<bool, 128> kKeptAscii = [] {
    std::array<bool, 128> kept{};
    for (char c = 'A'; c <= 'Z'; ++c) kept[static_cast<std::size_t>(c)] = true;
    for (char c = 'a'; c <= 'z'; ++c) kept[static_cast<std::size_t>(c)] = true;
    for (char c = '0'; c <= '9'; ++c) kept[static_cast<std::size_t>(c)] = true;
    for (const char c : std::string_view("-_.!~*'()[],&#"))
        kept[static_cast<std::size_t>(c)] = true;
    return kept;
}();

bool KeptAsIs(char16_t c) {
    return c < 0x80 && kKeptAscii[c];
}

char16_t* WritePercentEncoded(const QString& text, char16_t* out) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    auto escape = [&out](unsigned byte) {
        *out++ = u'%';
        *out++ = kHex[(byte >> 4) & 15];
        *out++ = kHex[byte & 15];
    };
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (KeptAsIs(c)) {
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
    return out;
}

char16_t* WriteLatin1(std::string_view text, char16_t* out) {
    for (const char c : text) *out++ = static_cast<unsigned char>(c);
    return out;
}

// Source counts are small numbers, mostly: their texts are made once and shared.
QString SourcesText(std::uint32_t sources) {
    static const std::array<QString, 256> kSmall = [] {
        std::array<QString, 256> texts;
        for (std::uint32_t i = 0; i < texts.size(); ++i) texts[i] = QString::number(i);
        return texts;
    }();
    return sources < kSmall.size() ? kSmall[sources] : QString::number(sources);
}

QString NameFromBytes(const std::uint8_t* bytes, std::size_t size) {
    const bool cut = size > kNameBytes;
    std::size_t length = std::min(size, kNameBytes);
    if (const void* zero = std::memchr(bytes, 0, length); zero != nullptr)
        length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes);
    if (cut) {
        // Drop a character whose bytes did not all fit.
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

// The fields of one record that make a result.
struct Record {
    const std::uint8_t* hash = nullptr;
    const std::uint8_t* name = nullptr;
    std::size_t nameLength = 0;
    bool hasName = false;
    bool hasSize = false;
    std::uint64_t size = 0;
    bool hasSizeHigh = false;
    std::uint64_t sizeHigh = 0;
    bool hasSources = false;
    std::uint64_t sources = 0;
    bool hasComplete = false;
    std::uint64_t complete = 0;

    void Take(const Tag& tag) {
        // The first tag of each kind counts.
        switch (tag.id) {
            case kTagIdName:
                if (tag.isString && !hasName) {
                    hasName = true;
                    name = tag.string;
                    nameLength = tag.stringLength;
                }
                break;
            case kTagIdSize:
                Keep(tag, hasSize, size);
                break;
            case kTagIdSizeHigh:
                Keep(tag, hasSizeHigh, sizeHigh);
                break;
            case kTagIdSources:
                Keep(tag, hasSources, sources);
                break;
            case kTagIdCompleteSources:
                Keep(tag, hasComplete, complete);
                break;
            default:
                break;
        }
    }

    std::uint64_t FileSize() const {
        // A 32-bit size with its high half in a tag of its own, or a 64-bit size whole.
        if (hasSizeHigh && size <= 0xFFFFFFFFu) return size | ((sizeHigh & 0xFFFFFFFFu) << 32);
        return size;
    }

private:
    static void Keep(const Tag& tag, bool& has, std::uint64_t& value) {
        if (!tag.isInteger || has) return;
        has = true;
        value = tag.integer;
    }
};

std::uint32_t Count32(std::uint64_t value) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFu));
}

class Decoder {
public:
    Decoder(QStringList& results, std::vector<std::uint32_t>* completeSources, int maxResults)
        : m_results(results), m_completeSources(completeSources), m_maxResults(maxResults) {}

    // The payload: a 32-bit result count, then the records. Returns the count, as a signed
    // number: positive when results were announced.
    int Payload(const std::uint8_t* data, std::size_t size) {
        ByteReader reader(data, size);
        std::uint32_t announced = 0;
        if (!reader.U32(announced)) return 0;
        const auto count = static_cast<std::int32_t>(announced);
        // The bytes bound the loop too, whatever the count.
        for (std::int32_t i = 0; i < count && m_appended < m_maxResults; ++i)
            if (!ReadRecord(reader)) break;
        return count;
    }

private:
    // Reads one record and appends its result when it has a name and a size. False when the
    // rest of the answer cannot be read (cut short, or a tag of unknown type).
    bool ReadRecord(ByteReader& reader) {
        Record record;
        std::uint32_t tagCount = 0;
        if (!reader.Bytes(16, record.hash) || !reader.Skip(4 + 2) || !reader.U32(tagCount))
            return false;
        Tag tag;
        for (std::uint32_t t = 0; t < tagCount; ++t) {
            if (ReadTag(reader, tag) != TagResult::Read) return false;
            record.Take(tag);
        }
        if (record.hasName && record.hasSize) Append(record);
        return true;
    }

    void Append(const Record& record) {
        QString name = NameFromBytes(record.name, record.nameLength);
        if (name.isEmpty()) return;  // a row needs a name
        const std::uint64_t size = record.FileSize();
        // "ed2k://|file|NAME|SIZE|HASH|/", written into the scratch area, then copied out at
        // its exact size: an answer holds thousands of links, and every spare byte counts.
        static constexpr char16_t kHex[] = u"0123456789ABCDEF";
        char sizeDigits[24];
        const std::string_view sizeText(
            sizeDigits, static_cast<std::size_t>(
                            std::to_chars(sizeDigits, sizeDigits + 24, size).ptr - sizeDigits));
        m_link.resize(static_cast<std::size_t>(16 + 9 * name.size() + 24 + 32 + 2));
        char16_t* const begin = m_link.data();
        char16_t* out = WriteLatin1("ed2k://|file|", begin);
        out = WritePercentEncoded(name, out);
        *out++ = u'|';
        out = WriteLatin1(sizeText, out);
        *out++ = u'|';
        for (int i = 0; i < 16; ++i) {
            *out++ = kHex[record.hash[i] >> 4];
            *out++ = kHex[record.hash[i] & 15];
        }
        out = WriteLatin1("|/", out);
        QString link(reinterpret_cast<const QChar*>(begin), out - begin);
        m_results.append(std::move(name));
        m_results.append(SizeText(size));
        m_results.append(SourcesText(Count32(record.sources)));
        m_results.append(std::move(link));
        if (m_completeSources != nullptr) m_completeSources->push_back(Count32(record.complete));
        ++m_appended;
    }

    QStringList& m_results;
    std::vector<std::uint32_t>* m_completeSources;
    int m_maxResults;
    int m_appended = 0;
    std::vector<char16_t> m_link;  // scratch area for a link
};

// The inflated payload of a packed answer.
struct Inflated {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};

// Inflates the zlib stream that starts at byte 6 of the answer: stops at the stream's end, at
// an error, when the input runs out, or when the output reaches its limit. An answer that
// inflates only in part gives that part.
Inflated Inflate(const std::uint8_t* answer, std::size_t received) {
    Inflated out;
    // The zlib header, checked here, so that the deflate data behind it can be inflated raw:
    // the checksum at the end is not needed, as a stream that breaks off gives what it gave.
    if (received < 8) return out;
    const std::uint8_t method = answer[6];
    const std::uint8_t flags = answer[7];
    if ((method & 0x0F) != Z_DEFLATED || (method >> 4) > 7 || (method * 256 + flags) % 31 != 0 ||
        (flags & 0x20) != 0)
        return out;
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) return out;
    // One area of the limit's size, left untouched where nothing is written.
    out.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kInflatedReadSize);
    stream.next_in = const_cast<Bytef*>(answer + 8);
    stream.avail_in = static_cast<uInt>(received - 8);
    stream.next_out = out.bytes.get();
    stream.avail_out = static_cast<uInt>(kInflatedReadSize);
    while (inflate(&stream, Z_NO_FLUSH) == Z_OK && stream.avail_out > 0) {
    }
    out.size = kInflatedReadSize - stream.avail_out;
    inflateEnd(&stream);
    return out;
}

}  // namespace

QString SizeText(std::uint64_t size) {
    // "%3.2f" of size / 2^shift with the unit. The width never pads, as "0.00" is already four
    // characters.
    int shift = 30;
    char unit = 'G';
    if (size < 1048576ull) {
        shift = 10;
        unit = 'K';
    } else if (size < 1073741824ull) {
        shift = 20;
        unit = 'M';
    }
    char text[64];
    char* end = text;
    if (size < (1ull << 53)) {
        // The double is exact here, and so is this: hundredths rounded half to even, as printf
        // rounds an exact binary value.
        const unsigned __int128 scaled = static_cast<unsigned __int128>(size) * 100;
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        const unsigned __int128 rest = scaled & ((half << 1) - 1);
        auto hundredths = static_cast<std::uint64_t>(scaled >> shift);
        if (rest > half || (rest == half && (hundredths & 1) != 0)) ++hundredths;
        end = std::to_chars(text, text + 40, hundredths / 100).ptr;
        *end++ = '.';
        *end++ = static_cast<char>('0' + hundredths % 100 / 10);
        *end++ = static_cast<char>('0' + hundredths % 10);
    } else {
        const double scaled = static_cast<double>(size) / static_cast<double>(1ull << shift);
        end = std::to_chars(text, text + 40, scaled, std::chars_format::fixed, 2).ptr;
    }
    *end++ = unit;
    return QString::fromLatin1(text, end - text);
}

QString PercentEncodeUtf8(const QString& text) {
    QString out(9 * text.size(), Qt::Uninitialized);  // the most one UTF-16 unit can become
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    out.truncate(WritePercentEncoded(text, begin) - begin);
    out.squeeze();
    return out;
}

int DecodeSearchAnswer(const std::uint8_t* answer, std::size_t received, QStringList& results,
                       std::vector<std::uint32_t>* completeSources, int maxResults) {
    received = std::min(received, kAnswerAreaSize);
    Decoder decoder(results, completeSources, maxResults);
    // Protocol byte, length and opcode are passed over: the caller has read one whole packet.
    if (received > 0 && answer[0] == 0xE3)
        return received > 6 ? decoder.Payload(answer + 6, received - 6) : 0;
    const Inflated inflated = Inflate(answer, received);
    return decoder.Payload(inflated.bytes.get(), inflated.size);
}

}  // namespace ed2k
