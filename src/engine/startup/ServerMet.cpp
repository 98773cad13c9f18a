#include "engine/startup/ServerMet.h"

#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "engine/ed2k/Ed2kTags.h"
#include "engine/startup/ServerTable.h"

namespace {

// A real list holds a few hundred servers; a larger file is no server list.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

bool Holds(const ServerTable& table, const char* address, std::int32_t port) {
    for (int i = 0; i < table.m_serverCount; ++i) {
        const ServerEntry& entry = table.m_serverTable[static_cast<std::size_t>(i)];
        if (entry.port == port && std::strcmp(entry.address, address) == 0) return true;
    }
    return false;
}

}  // namespace

ServerMetReport AddServerMet(QByteArrayView data, ServerTable& table) {
    using namespace ed2k;
    ServerMetReport report;
    ByteReader reader(reinterpret_cast<const std::uint8_t*>(data.data()),
                      static_cast<std::size_t>(data.size()));
    std::uint8_t version = 0;
    std::uint32_t count = 0;
    if (!reader.U8(version) || (version != 0x0E && version != 0xE0)) {
        report.damage = data.isEmpty() ? QStringLiteral("the file is empty")
                                       : QStringLiteral("not a server.met file (first byte 0x%1)")
                                             .arg(version, 2, 16, QLatin1Char('0'));
        return report;
    }
    if (!reader.U32(count)) {
        report.damage = QStringLiteral("the file ends before its server count");
        return report;
    }
    report.listed = count;
    // Each server takes at least 10 bytes, so the bytes bound the loop whatever the count.
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* ip = nullptr;
        std::uint16_t port = 0;
        std::uint32_t tagCount = 0;
        bool whole = reader.Bytes(4, ip) && reader.U16(port) && reader.U32(tagCount);
        Tag tag;
        for (std::uint32_t t = 0; whole && t < tagCount; ++t) {
            const TagResult result = ReadTag(reader, tag);
            if (result == TagResult::UnknownType) {
                report.damage = QStringLiteral("server %1 has a tag of unknown type 0x%2")
                                    .arg(i + 1)
                                    .arg(tag.type, 2, 16, QLatin1Char('0'));
                return report;
            }
            whole = result == TagResult::Read;
        }
        if (!whole) {
            report.damage =
                QStringLiteral("the file ends inside server %1 of %2").arg(i + 1).arg(count);
            return report;
        }
        ++report.read;
        char address[16];
        std::snprintf(address, sizeof address, "%u.%u.%u.%u", ip[0], ip[1], ip[2], ip[3]);
        if (Holds(table, address, port)) continue;
        if (table.m_serverCount >= ServerTable::kCapacity) {
            ++report.full;
            continue;
        }
        ServerEntry& entry = table.m_serverTable[static_cast<std::size_t>(table.m_serverCount++)];
        std::memset(&entry, 0, sizeof entry);
        std::memcpy(entry.address, address, std::strlen(address));
        entry.port = port;
        ++report.added;
    }
    return report;
}

bool ReadServerMetFile(const QString& path, QByteArray& data, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot open: %2").arg(path, file.errorString());
        return false;
    }
    data = file.read(kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString AddServerMetFile(const QString& path, QByteArrayView data, ServerTable& table) {
    const ServerMetReport report = AddServerMet(data, table);
    QStringList notes;
    if (!report.damage.isEmpty()) {
        notes << QStringLiteral("%1; using the %2 server(s) read before it")
                     .arg(report.damage)
                     .arg(report.read);
    }
    if (report.full > 0) {
        notes << QStringLiteral("%1 server(s) left out: the list holds at most %2")
                     .arg(report.full)
                     .arg(ServerTable::kCapacity);
    }
    if (notes.isEmpty()) return {};
    return path + QStringLiteral(": ") + notes.join(QStringLiteral("; "));
}

QString LoadServerMetFile(const QString& path, ServerTable& table) {
    QByteArray data;
    QString error;
    if (!ReadServerMetFile(path, data, error)) return error;
    return AddServerMetFile(path, data, table);
}
