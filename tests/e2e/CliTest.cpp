#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "DevNet.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { m_net.Start(); }

    CliRun Run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const ServiceHosts hosts = m_net.hosts();
        environment.insert(QStringLiteral("QUIMB_SERVICE_HOST"), hosts.service);
        environment.insert(QStringLiteral("QUIMB_STATS_HOST"), hosts.stats);
        environment.insert(QStringLiteral("QUIMB_MAGNET_HOST"), hosts.magnet);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUIMB_CLI_PATH), arguments);
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
        "totalPages: 1, visiblePages <a target=\"_blank\">a\tb\\c\r\nd</a></span>"
        "大小：<x\">1 GB</span><a href=\"magnet:?1\">磁力链接");
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("--engine"),
                            QStringLiteral("magnet"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "a\\tb\\\\c\\r\\nd\t1 GB\t\tmagnet:?1\n");
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

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{QStringLiteral("find"), QStringLiteral("x")},
          QStringList{QStringLiteral("search")}, QStringList{QStringLiteral("search"), QString()},
          QStringList{QStringLiteral("search"), QStringLiteral("--engine"), QStringLiteral("web"),
                      QStringLiteral("x")},
          QStringList{QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("b")}}) {
        const CliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage:")));
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = Run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: quimb-cli search")));
}

}  // namespace
