// The service host's server list ("svr:ADDRESS:PORT;" entries) on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/startup/ServerTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ServerTable table;
    ParseServerList(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        table);
    if (table.m_serverCount < 0 || table.m_serverCount > ServerTable::kCapacity) __builtin_trap();
    for (const ServerEntry& entry : table.m_serverTable)
        if (std::memchr(entry.address, 0, sizeof entry.address) == nullptr) __builtin_trap();
    return 0;
}
