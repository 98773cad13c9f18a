// The eD2k packet framing on arbitrary bytes, arriving in pieces whose sizes the first bytes
// choose, with a small packet limit so that cut frames happen too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ed2k/Ed2kPackets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::size_t maxSize = 6 + data[1] % 200;
    data += 2;
    size -= 2;
    std::vector<std::uint8_t> pending;
    std::vector<std::uint8_t> packet;
    std::size_t taken = 0;
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t n = size - at < piece ? size - at : piece;
        pending.insert(pending.end(), data + at, data + at + n);
        while (ed2k::TakePacket(pending, maxSize, false, packet)) {
            if (packet.empty() || packet.size() > maxSize) __builtin_trap();
            taken += packet.size();
        }
    }
    while (ed2k::TakePacket(pending, maxSize, true, packet)) {
        if (packet.empty() || packet.size() > maxSize) __builtin_trap();
        taken += packet.size();
    }
    if (taken > size) __builtin_trap();
    return 0;
}
