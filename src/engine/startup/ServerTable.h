#pragma once

#include <QString>
#include <array>
#include <cstdint>

// One eD2k server of the list: its dotted IPv4 address as zero-padded ANSI text (15 characters
// and the terminating zero) and its TCP port.
struct ServerEntry {
    char address[16];
    std::int32_t port;
};
static_assert(sizeof(ServerEntry) == 20);

// The servers an eD2k search asks: filled once at start-up, only read afterwards.
struct ServerTable {
    static constexpr int kCapacity = 100;

    std::array<ServerEntry, kCapacity> m_serverTable{};  // zero-filled
    int m_serverCount = 0;
};

// Appends the "svr:ADDRESS:PORT;" entries of a server list text to table. Entries beyond the
// table's 100 are ignored; an address longer than 15 bytes is cut to its first 15.
void ParseServerList(const QString& text, ServerTable& table);
