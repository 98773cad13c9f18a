#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include "CliProcess.h"
#include "DevNet.h"
#include "engine/ed2k/SearchAnswerDecoder.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { m_net.Start(); }

    // Runs quimb-cli on the simulated network; extra settings override its hosts.
    CliRun Run(const QStringList& arguments, const QProcessEnvironment& extra = {}) {
        QProcess process;
        StartCli(process, m_net.hosts(), arguments, extra);
        EXPECT_TRUE(process.waitForFinished(30000));
        return CliRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
    }

    devnet::DevNet m_net;
};

TEST_F(CliTest, PrintsEveryRowAsFourTabSeparatedCells) {
    m_net.m_magnet.SetTotalHits(23);
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("星际 trek")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 23);
    for (const QString& line : lines) {
        const QStringList cells = line.split(u'\t');
        ASSERT_EQ(cells.size(), 4) << line.toStdString();
        EXPECT_TRUE(cells[0].contains(QStringLiteral("星际 trek")));
        EXPECT_EQ(cells[2], "");
        EXPECT_TRUE(cells[3].startsWith(QStringLiteral("magnet:?")));
    }
    EXPECT_TRUE(run.err.contains(QStringLiteral("共搜到：23")));
}

TEST_F(CliTest, EscapesControlCharactersInsideCells) {
    m_net.m_magnet.SetOverride(
        "/search/x", 200,
        "totalPages: 1, visiblePages <a target=\"_blank\">a\tb\\c\r\nd" + std::string(1, '\0') +
            "</a></span>大小：<x\">1 GB</span><a href=\"magnet:?1\">磁力链接");
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("--engine"),
                            QStringLiteral("magnet"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "a\\tb\\\\c\\r\\nd\\0\t1 GB\t\tmagnet:?1\n");
}

TEST_F(CliTest, ReportsANewVersionOnStderrOnly) {
    m_net.m_service.SetVersion("2.1.0.0");
    m_net.m_magnet.SetTotalHits(1);
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("abc")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("2.1.0.0")));
    EXPECT_EQ(run.out.count(u'\n'), 1);
}

TEST_F(CliTest, Ed2kWithoutServersEndsWithNoRows) {
    const CliRun run =
        Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("abc")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.contains(QStringLiteral("共收到：0")));
}

TEST_F(CliTest, Ed2kSearchesEveryServerOfTheList) {
    devnet::Ed2kServerConfig first, second;
    first.hits = 4;
    second.hits = 6;
    second.seed = 40;
    second.packed = true;
    m_net.AddEd2kServer(first);
    m_net.AddEd2kServer(second);
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("--engine"),
                            QStringLiteral("ed2k"), QStringLiteral("abc")});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    for (const QString& line : lines) {
        const QStringList cells = line.split(u'\t');
        ASSERT_EQ(cells.size(), 4);
        EXPECT_TRUE(cells[3].startsWith(QStringLiteral("ed2k://|file|")));
        EXPECT_FALSE(cells[2].isEmpty());
    }
    EXPECT_TRUE(run.err.contains(QStringLiteral("共搜到：10")));
}

// The line quimb-cli prints for a file as a server lists it.
QString ExpectedLine(const devnet::Ed2kHit& hit) {
    const std::string hash = devnet::HashHex(hit);
    const QString name = QString::fromStdString(hit.name);
    return name + '\t' + ed2k::SizeText(hit.size) + '\t' + QString::number(hit.sources) + '\t' +
           "ed2k://|file|" + ed2k::PercentEncodeUtf8(name) + '|' + QString::number(hit.size) + '|' +
           QString::fromStdString(hash) + "|/";
}

// A user without a service host names a server.met of servers that answer in both dialects.
TEST_F(CliTest, SearchesTheServersOfAServerMetInBothDialects) {
    devnet::Ed2kServerConfig compact, oldStyle;
    compact.hits = 30;
    compact.packed = true;
    oldStyle.hits = 30;
    oldStyle.seed = 5;
    oldStyle.dialect = devnet::Ed2kDialect::OldStyle;
    m_net.AddEd2kServer(compact);
    m_net.AddEd2kServer(oldStyle);
    QTemporaryDir dir;
    const QString met = dir.filePath(QStringLiteral("server.met"));
    ASSERT_TRUE(WriteFile(met, m_net.ServerMet()));

    QProcessEnvironment noService;
    noService.insert(QStringLiteral("QUIMB_SERVICE_HOST"), QStringLiteral("127.0.0.1:1"));
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"),
                            QStringLiteral("--server-met"), met, QStringLiteral("星际")},
                           noService);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    // Every file exactly once; a file both servers list may show either server's count.
    QHash<QString, QSet<QString>> expected;  // link -> the lines it may have
    for (const auto& config : {compact, oldStyle})
        for (const auto& hit : devnet::Ed2kHitsFor("星际", config.seed, config.hits, true)) {
            const QString line = ExpectedLine(hit);
            expected[line.section(u'\t', 3)].insert(line);
        }
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), expected.size());
    bool large = false, many = false;
    for (const QString& line : lines) {
        EXPECT_TRUE(expected.value(line.section(u'\t', 3)).contains(line)) << line.toStdString();
        large = large || line.section(u'\t', 3).section(u'|', 3, 3).toULongLong() > 0xFFFFFFFFull;
        many = many || line.section(u'\t', 2, 2).toInt() > 255;
    }
    EXPECT_TRUE(large);
    EXPECT_TRUE(many);
}

TEST_F(CliTest, AServerMetThatCannotBeReadIsAUsageErrorOnlyWhenNamedOnTheCommandLine) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.met"));
    const CliRun named = Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"),
                              QStringLiteral("--server-met=") + missing, QStringLiteral("x")});
    EXPECT_EQ(named.exitCode, 2);
    EXPECT_TRUE(named.err.contains(missing + QStringLiteral(": cannot open")));

    QProcessEnvironment variable;
    variable.insert(QStringLiteral("QUIMB_SERVER_MET"), missing);
    const CliRun warned = Run(
        {QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")}, variable);
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_TRUE(warned.err.contains(missing + QStringLiteral(": cannot open")));

    // A damaged file: one message, and the servers before the damage are searched.
    devnet::Ed2kServerConfig server;
    server.hits = 3;
    m_net.AddEd2kServer(server);
    std::vector<std::uint8_t> bytes = m_net.ServerMet();
    bytes[1] = 0xFF;  // a count of 255 servers
    const QString damaged = dir.filePath(QStringLiteral("damaged.met"));
    ASSERT_TRUE(WriteFile(damaged, bytes));
    QProcessEnvironment noService;
    noService.insert(QStringLiteral("QUIMB_SERVICE_HOST"), QStringLiteral("127.0.0.1:1"));
    const CliRun used = Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"),
                             QStringLiteral("--server-met"), damaged, QStringLiteral("x")},
                            noService);
    EXPECT_EQ(used.exitCode, 0);
    EXPECT_EQ(used.err.count(damaged), 1) << used.err.toStdString();
    EXPECT_EQ(used.out.count(u'\n'), 3);
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{QStringLiteral("find"), QStringLiteral("x")},
          QStringList{QStringLiteral("search")}, QStringList{QStringLiteral("search"), QString()},
          QStringList{QStringLiteral("search"), QStringLiteral("--engine"), QStringLiteral("web"),
                      QStringLiteral("x")},
          QStringList{QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("b")},
          QStringList{QStringLiteral("search"), QStringLiteral("--bogus"), QStringLiteral("x")},
          QStringList{QStringLiteral("search"), QStringLiteral("x"), QStringLiteral("--engine")}}) {
        const CliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage:")));
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = Run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: quimb-cli search")));
    const CliRun version = Run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quimb-cli 2.0.0.5\n");
}

}  // namespace
