#include "engine/ed2k/Ed2kTags.h"

namespace ed2k {

namespace {

TagResult Done(bool ok) {
    return ok ? TagResult::Read : TagResult::CutShort;
}

}  // namespace

TagResult ReadTag(ByteReader& reader, Tag& tag) {
    tag = Tag{};
    std::uint8_t type = 0;
    if (!reader.U8(type)) return TagResult::CutShort;
    if ((type & 0x80) != 0) {
        type &= 0x7F;
        std::uint8_t id = 0;
        if (!reader.U8(id)) return TagResult::CutShort;
        tag.id = id;
    } else {
        std::uint16_t nameLength = 0;
        const std::uint8_t* name = nullptr;
        if (!reader.U16(nameLength) || !reader.Bytes(nameLength, name)) return TagResult::CutShort;
        if (nameLength == 1) tag.id = name[0];
    }
    tag.type = type;

    // Integers of every width read alike.
    auto integer = [&reader, &tag](auto value) {
        const bool ok = reader.Le(value);
        tag.isInteger = true;
        tag.integer = value;
        return Done(ok);
    };
    switch (type) {
        case kTagUint8:
            return integer(std::uint8_t{});
        case kTagUint16:
            return integer(std::uint16_t{});
        case kTagUint32:
            return integer(std::uint32_t{});
        case kTagUint64:
            return integer(std::uint64_t{});
        case kTagString: {
            std::uint16_t length = 0;
            if (!reader.U16(length)) return TagResult::CutShort;
            tag.isString = true;
            tag.stringLength = length;
            return Done(reader.Bytes(length, tag.string));
        }
        case kTagHash:
            return Done(reader.Skip(16));
        case kTagFloat:
            return Done(reader.Skip(4));
        case kTagBool:
            return Done(reader.Skip(1));
        case kTagBoolArray: {
            std::uint16_t bits = 0;
            return Done(reader.U16(bits) && reader.Skip(bits / 8u + 1u));
        }
        case kTagBlob: {
            std::uint32_t length = 0;
            return Done(reader.U32(length) && reader.Skip(length));
        }
        default:
            break;
    }
    if (type >= kTagShortString1 && type <= kTagShortString16) {
        tag.isString = true;
        tag.stringLength = type - 0x10u;
        return Done(reader.Bytes(tag.stringLength, tag.string));
    }
    return TagResult::UnknownType;
}

}  // namespace ed2k
