#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reading eD2k data that comes from an untrusted peer: little-endian integers and tags, every
// read checked against the end of the bytes.
namespace ed2k {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_at(data), m_end(data + size) {}

    std::size_t remaining() const { return static_cast<std::size_t>(m_end - m_at); }

    // Each returns false, and moves nothing, when fewer bytes remain than it needs.
    bool Skip(std::size_t n) {
        if (remaining() < n) return false;
        m_at += n;
        return true;
    }
    bool Bytes(std::size_t n, const std::uint8_t*& bytes) {
        bytes = m_at;
        return Skip(n);
    }
    bool U8(std::uint8_t& value) { return Le(value); }
    bool U16(std::uint16_t& value) { return Le(value); }
    bool U32(std::uint32_t& value) { return Le(value); }
    bool U64(std::uint64_t& value) { return Le(value); }

    template <typename T>
    bool Le(T& value) {
        if (remaining() < sizeof(T)) return false;
        value = 0;
        for (std::size_t i = sizeof(T); i-- > 0;) value = static_cast<T>((value << 8) | m_at[i]);
        m_at += sizeof(T);
        return true;
    }

private:
    const std::uint8_t* m_at;
    const std::uint8_t* m_end;
};

// Tag types, as the type byte gives them once the compact-name bit 0x80 is cleared.
enum TagType : std::uint8_t {
    kTagHash = 0x01,
    kTagString = 0x02,
    kTagUint32 = 0x03,
    kTagFloat = 0x04,
    kTagBool = 0x05,
    kTagBoolArray = 0x06,
    kTagBlob = 0x07,
    kTagUint16 = 0x08,
    kTagUint8 = 0x09,
    kTagUint64 = 0x0B,
    kTagShortString1 = 0x11,  // 0x11 to 0x20: a string of (type - 0x10) bytes, no length
    kTagShortString16 = 0x20,
};

// Tag ids used by search answers and server.met files.
enum TagId : int {
    kTagIdName = 0x01,
    kTagIdSize = 0x02,
    kTagIdServerDescription = 0x0B,
    kTagIdSources = 0x15,
    kTagIdCompleteSources = 0x30,
    kTagIdSizeHigh = 0x3A,
};

struct Tag {
    int id = -1;  // the one-byte id; -1 for a tag named by a longer name, which no field uses
    std::uint8_t type = 0;
    bool isInteger = false;
    std::uint64_t integer = 0;
    bool isString = false;
    const std::uint8_t* string = nullptr;  // into the read bytes
    std::size_t stringLength = 0;
};

enum class TagResult {
    Read,
    CutShort,     // the bytes end inside the tag
    UnknownType,  // no way to know the value's size: nothing after it can be read
};

// Reads one tag: the type byte; with 0x80 set a one-byte id, else a 16-bit name length and the
// name (a length of 1 is a one-byte id); then the value as the type says.
TagResult ReadTag(ByteReader& reader, Tag& tag);

}  // namespace ed2k
