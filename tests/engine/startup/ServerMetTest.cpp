#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ed2k/HexText.h"
#include "engine/startup/ServerMet.h"
#include "engine/startup/ServerTable.h"

namespace {

QByteArray Bytes(const std::string& hex) {
    std::string digits;
    for (char c : hex)
        if (c != ' ') digits += c;
    QByteArray out(static_cast<qsizetype>((digits.size() + 1) / 2), '\0');
    HexTextToBytes(digits.data(), digits.size(), reinterpret_cast<std::uint8_t*>(out.data()));
    return out;
}

// 1.2.3.4:4661 with a name (old-style string), a description and a compact integer tag.
const std::string kServerA =
    "01020304 3512 03000000 02 0100 01 0300 616263  02 0100 0B 0100 78  8987 05 ";
// 10.0.0.9:4242 with a short-string name and a string-named tag.
const std::string kServerB = "0A000009 9210 02000000 9301 787978  03 0500 7573657273 07000000 ";
// 192.168.1.20:80 without tags.
const std::string kServerC = "C0A80114 5000 00000000 ";

std::vector<std::string> Servers(const ServerTable& table) {
    std::vector<std::string> servers;
    for (int i = 0; i < table.m_serverCount; ++i) {
        const ServerEntry& entry = table.m_serverTable[static_cast<std::size_t>(i)];
        servers.push_back(std::string(entry.address) + ":" + std::to_string(entry.port));
    }
    return servers;
}

TEST(ServerMet, ReadsGoodFilesAndKeepsWhatPrecedesTheDamage) {
    const std::string a = "1.2.3.4:4661", b = "10.0.0.9:4242", c = "192.168.1.20:80";
    const struct {
        const char* what;
        std::string file;
        std::vector<std::string> servers;
        const char* damage;  // a piece of the message, or "" for none
    } cases[] = {
        {"three servers", "0E 03000000" + kServerA + kServerB + kServerC, {a, b, c}, ""},
        {"the newer first byte", "E0 01000000" + kServerB, {b}, ""},
        {"no servers", "E0 00000000", {}, ""},
        {"an empty file", "", {}, "empty"},
        {"another kind of file", "50 4B0304", {}, "not a server.met"},
        {"no count", "0E 0100", {}, "server count"},
        {"cut inside the second server",
         "0E 02000000" + kServerA + "0A000009 9210",
         {a},
         "inside server 2 of 2"},
        {"a count of 4 billion",
         "0E FFFFFFFF" + kServerA + kServerC,
         {a, c},
         "inside server 3 of 4294967295"},
        {"a tag of 4 GiB",
         "0E 02000000" + kServerA + "0A000009 9210 01000000 07 0100 55 FFFFFFFF 00",
         {a},
         "inside server 2"},
        {"a tag of unknown type",
         "0E 02000000" + kServerA + "0A000009 9210 01000000 0C 0100 55",
         {a},
         "unknown type 0x0c"},
        {"a tag count of 4 billion",
         "0E 01000000 0A000009 9210 FFFFFFFF 8901 00",
         {},
         "inside server 1"},
    };
    for (const auto& c : cases) {
        ServerTable table;
        const ServerMetReport report = AddServerMet(Bytes(c.file), table);
        EXPECT_EQ(Servers(table), c.servers) << c.what;
        EXPECT_EQ(report.added, static_cast<int>(c.servers.size())) << c.what;
        if (*c.damage == '\0')
            EXPECT_TRUE(report.damage.isEmpty()) << c.what << ": " << report.damage.toStdString();
        else
            EXPECT_TRUE(report.damage.contains(QLatin1String(c.damage)))
                << c.what << ": " << report.damage.toStdString();
    }
}

TEST(ServerMet, JoinsTheListOnceEachAndWithinItsLimit) {
    ServerTable table;
    ParseServerList(QStringLiteral("svr:1.2.3.4:4661;svr:10.0.0.9:4243;"), table);
    // 1.2.3.4:4661 is there already; 10.0.0.9 is there on another port.
    ServerMetReport report =
        AddServerMet(Bytes("0E 03000000" + kServerA + kServerB + kServerA), table);
    EXPECT_EQ(Servers(table),
              (std::vector<std::string>{"1.2.3.4:4661", "10.0.0.9:4243", "10.0.0.9:4242"}));
    EXPECT_EQ(report.read, 3);
    EXPECT_EQ(report.added, 1);

    std::string list;
    for (int i = 0; i < 98; ++i) list += "svr:127.0.0." + std::to_string(i) + ":1;";
    ServerTable full;
    ParseServerList(QString::fromStdString(list), full);
    report = AddServerMet(Bytes("0E 03000000" + kServerA + kServerB + kServerC), full);
    EXPECT_EQ(full.m_serverCount, ServerTable::kCapacity);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.full, 1);
    EXPECT_TRUE(AddServerMetFile(QStringLiteral("f.met"), {}, full).startsWith("f.met: "));
}

TEST(ServerMet, AFileThatCannotBeReadIsSaidSo) {
    QTemporaryDir dir;
    ServerTable table;
    const QString missing = dir.filePath(QStringLiteral("none.met"));
    EXPECT_TRUE(LoadServerMetFile(missing, table).contains(QStringLiteral("cannot open")));
    EXPECT_TRUE(LoadServerMetFile(dir.path(), table).contains(dir.path()));  // a folder
    EXPECT_EQ(table.m_serverCount, 0);
}

}  // namespace
