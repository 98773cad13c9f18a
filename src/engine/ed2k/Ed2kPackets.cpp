#include "engine/ed2k/Ed2kPackets.h"

#include <algorithm>
#include <cstring>

#include "engine/ed2k/HexText.h"

namespace ed2k {

namespace {

std::array<std::uint8_t, 68> BuildLoginPacket() {
    std::array<std::uint8_t, 68> packet{};
    std::uint8_t* p = packet.data();
    auto put = [p](const char* hex, std::size_t offset) {
        HexTextToBytes(hex, std::strlen(hex), p + offset);
    };
    p[0] = kProtocolPlain;
    put("3F000000", 1);
    p[5] = kOpLoginRequest;
    put(kUserHashText, 6);
    put("00000000", 22);
    put("744A", 26);
    put("04000000", 28);
    put("020100010600", 32);
    std::memcpy(p + 38, "Quimbo", 6);
    put("030100113c000000", 44);
    put("0301002019030000", 52);
    put("030100FB80C80000", 60);
    return packet;
}

}  // namespace

const std::array<std::uint8_t, 68>& LoginPacket() {
    static const std::array<std::uint8_t, 68> packet = BuildLoginPacket();
    return packet;
}

std::vector<std::uint8_t> SearchRequestPacket(const QString& keyword) {
    QByteArray utf8 = keyword.toUtf8();
    // Stop at a zero byte, as the keyword area is read up to its first zero.
    if (const qsizetype zero = utf8.indexOf('\0'); zero >= 0) utf8.truncate(zero);
    if (static_cast<std::size_t>(utf8.size()) > kMaxKeywordBytes) {
        qsizetype cutAt = static_cast<qsizetype>(kMaxKeywordBytes);
        while (cutAt > 0 && (static_cast<unsigned char>(utf8[cutAt]) & 0xC0) == 0x80) --cutAt;
        utf8.truncate(cutAt);
    }
    const auto n = static_cast<std::uint32_t>(utf8.size());
    std::vector<std::uint8_t> packet(9 + n);
    packet[0] = kProtocolPlain;
    const std::uint32_t length = n + 4;
    packet[1] = static_cast<std::uint8_t>(length);
    packet[2] = static_cast<std::uint8_t>(length >> 8);
    packet[3] = static_cast<std::uint8_t>(length >> 16);
    packet[4] = static_cast<std::uint8_t>(length >> 24);
    packet[5] = kOpSearchRequest;
    packet[6] = 0x01;
    packet[7] = static_cast<std::uint8_t>(n);
    packet[8] = static_cast<std::uint8_t>(n >> 8);
    std::memcpy(packet.data() + 9, utf8.constData(), n);
    return packet;
}

bool IsProtocolByte(std::uint8_t byte) {
    return byte == kProtocolPlain || byte == kProtocolPacked || byte == 0xC5;
}

bool TakePacket(std::vector<std::uint8_t>& pending, std::size_t maxSize, bool streamEnded,
                std::vector<std::uint8_t>& packet) {
    if (pending.empty()) return false;
    auto takeAll = [&] {
        packet.assign(pending.begin(),
                      pending.begin() + static_cast<long>(std::min(pending.size(), maxSize)));
        pending.clear();
        return true;
    };
    if (!IsProtocolByte(pending[0])) return takeAll();
    if (pending.size() >= 5) {
        const std::uint64_t length = pending[1] | (pending[2] << 8) | (pending[3] << 16) |
                                     (static_cast<std::uint64_t>(pending[4]) << 24);
        const std::uint64_t total = 5 + length;
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(total, maxSize));
        if (pending.size() >= wanted) {
            packet.assign(pending.begin(), pending.begin() + static_cast<long>(wanted));
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(wanted));
            if (total > wanted) pending.clear();  // the rest of a frame too long is not read
            return true;
        }
    }
    return streamEnded && pending.size() >= 6 && takeAll();
}

}  // namespace ed2k
