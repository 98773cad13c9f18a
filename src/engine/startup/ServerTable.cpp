#include "engine/startup/ServerTable.h"

#include <cstring>

#include "engine/text/AnsiCodec.h"
#include "engine/text/TextCut.h"

void ParseServerList(const QString& text, ServerTable& table) {
    QStringView s = text;
    for (;;) {
        const qsizetype start = cut::find(s, u"svr:");
        if (start == -1) return;
        s = cut::from(s, start + 4);
        const qsizetype k = cut::find(s, u":");
        const QStringView address = cut::first(s, k);
        s = cut::from(s, k + 1);
        const qsizetype m = cut::find(s, u";");
        const QStringView port = cut::first(s, m);

        if (table.m_serverCount >= ServerTable::kCapacity) return;  // the table is full
        ServerEntry& entry = table.m_serverTable[table.m_serverCount];
        std::memset(&entry, 0, sizeof entry);
        const QByteArray bytes = ToAnsi(address);
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), sizeof entry.address - 1);
        std::memcpy(entry.address, bytes.constData(), length);
        entry.port = cut::leadingInt(port);
        ++table.m_serverCount;
    }
}
