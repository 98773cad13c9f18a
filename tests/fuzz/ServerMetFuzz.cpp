// The server.met reader on arbitrary bytes, into a table that already holds a few servers.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/startup/ServerMet.h"
#include "engine/startup/ServerTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ServerTable table;
    for (int i = 0; i < 3; ++i) {
        ServerEntry& entry = table.m_serverTable[static_cast<std::size_t>(i)];
        std::memcpy(entry.address, "1.2.3.4", 8);
        entry.port = 4661 + i;
    }
    table.m_serverCount = 3;
    const ServerMetReport report = AddServerMet(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), table);
    if (table.m_serverCount > ServerTable::kCapacity || report.added > report.read ||
        table.m_serverCount != 3 + report.added)
        __builtin_trap();
    for (int i = 0; i < table.m_serverCount; ++i)
        if (std::memchr(table.m_serverTable[static_cast<std::size_t>(i)].address, 0, 16) == nullptr)
            __builtin_trap();
    return 0;
}
