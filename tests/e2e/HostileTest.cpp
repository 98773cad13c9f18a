// quimb-cli against the hostile modes of the simulated network: each search ends, with the rows
// the rules give and the failures named.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>
#include <csignal>
#include <functional>

#include "CliProcess.h"
#include "DevNet.h"

namespace {

using devnet::Ed2kMode;
using devnet::MagnetMode;

struct CliRun {
    int exitCode = -1;
    QStringList rows;
    QString err;
};

class HostileTest : public ::testing::Test {
protected:
    // Starts quimb-cli on the simulated network; extra settings override its hosts.
    void Start(QProcess& process, const QStringList& arguments,
               const QProcessEnvironment& extra = {}) {
        StartCli(process, m_net.hosts(), arguments, extra);
    }
    CliRun Finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(60000));
        return CliRun{
            process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
    }
    CliRun Run(const QStringList& arguments, const QProcessEnvironment& extra = {}) {
        QProcess process;
        Start(process, arguments, extra);
        return Finish(process);
    }

    devnet::DevNet m_net;
};

const QString kFull = QStringLiteral("（结果过多，只显示前 100000 条）");

TEST_F(HostileTest, MagnetSitesThatNeverEnd) {
    const struct {
        const char* what;
        MagnetMode mode;
        int rows;
        bool cut;
    } cases[] = {
        {"a page of bare markers", MagnetMode::BareMarkers, 0, false},
        {"10^9 pages: 100 are read", MagnetMode::BillionPages, 100 * 20, false},
        {"pages full of new hits", MagnetMode::FullPages, 100000, true},
        {"an endless body: its first 16 MB", MagnetMode::EndlessBody, -1, false},
    };
    m_net.Start();
    for (const auto& c : cases) {
        m_net.m_magnet.SetMode(c.mode);
        const CliRun run = Run({QStringLiteral("search"), QStringLiteral("x")});
        EXPECT_EQ(run.exitCode, 0) << c.what;
        if (c.rows >= 0) {
            EXPECT_EQ(run.rows.size(), c.rows) << c.what;
        } else {
            EXPECT_GT(run.rows.size(), 1000) << c.what;
        }
        EXPECT_EQ(run.err.contains(kFull), c.cut) << c.what;
    }
}

TEST_F(HostileTest, Ed2kServersThatSendTooMuch) {
    const struct {
        const char* what;
        Ed2kMode mode;
        bool packed;
        int servers;
        int rows;
    } cases[] = {
        {"records without names", Ed2kMode::NamelessRecords, false, 3, 1},
        {"a zlib bomb", Ed2kMode::ZlibBomb, true, 3, 10},
        {"more results than a search keeps", Ed2kMode::TinyRecords, true, 25, 100000},
        {"a frame of 4 GiB", Ed2kMode::HugeFrame, false, 1, 5000},
    };
    for (const auto& c : cases) {
        devnet::DevNet net;
        for (int i = 0; i < c.servers; ++i) {
            devnet::Ed2kServerConfig config;
            config.mode = c.mode;
            config.packed = c.packed;
            config.seed = static_cast<std::uint32_t>(i);
            net.AddEd2kServer(config);
        }
        net.Start();
        QProcessEnvironment hosts;
        hosts.insert(QStringLiteral("QUIMB_SERVICE_HOST"), net.hosts().service);
        const CliRun run =
            Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")},
                hosts);
        EXPECT_EQ(run.exitCode, 0) << c.what << run.err.toStdString();
        EXPECT_EQ(run.rows.size(), c.rows) << c.what;
        EXPECT_EQ(run.err.contains(kFull), c.rows == 100000) << c.what;
    }
}

TEST_F(HostileTest, AListOfTenThousandServersAsksTheFirstHundred) {
    devnet::Ed2kServerConfig answering;
    answering.hits = 4;
    m_net.AddEd2kServer(answering);
    m_net.ListManyServers(10000);
    m_net.Start();
    const CliRun run =
        Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.rows.size(), 4);
    EXPECT_EQ(run.err.count(QStringLiteral(": Connection refused")), 99);
}

// Start-up files that come a byte a second: one time limit, and the host is not asked again.
TEST_F(HostileTest, ATricklingServiceHostCostsOneStartupLimit) {
    for (const char* file : {"/hostname.txt", "/version.txt", "/emulesvr.txt"})
        m_net.m_service.SetEndless(file, "2", 1000);
    m_net.Start();
    const auto start = std::chrono::steady_clock::now();
    const CliRun run =
        Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(25));
    EXPECT_EQ(run.exitCode, 3);  // nothing reached: no servers without the service host
    EXPECT_TRUE(run.err.contains(m_net.hosts().service + QStringLiteral(": Operation timed out")))
        << run.err.toStdString();
}

TEST_F(HostileTest, UnreachableHostsAreNamedAndExitThree) {
    m_net.Start();
    QProcessEnvironment noMagnet;
    noMagnet.insert(QStringLiteral("QUIMB_MAGNET_HOST"), QStringLiteral("127.0.0.1:1"));
    CliRun run = Run({QStringLiteral("search"), QStringLiteral("x")}, noMagnet);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("quimb-cli: 127.0.0.1:1: ")));

    // Some servers answer: the search ran, and the others are named.
    devnet::Ed2kServerConfig answering, refusing;
    answering.hits = 2;
    refusing.mode = Ed2kMode::Refuse;
    m_net.AddEd2kServer(answering);
    auto& refused = m_net.AddEd2kServer(refusing);
    run = Run({QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.rows.size(), 2);
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("127.0.0.1:%1: Connection refused").arg(refused.port())))
        << run.err.toStdString();
}

TEST_F(HostileTest, AServersTextIsPrintedCutAndWithoutControlCharacters) {
    m_net.m_service.SetVersion("9.9\x1b[31m" + std::string(20000, 'v'));
    m_net.Start();
    const CliRun run = Run({QStringLiteral("search"), QStringLiteral("x")});
    const QString line = run.err.section(u'\n', 0, 0);
    EXPECT_TRUE(line.contains(QStringLiteral("有新版本：9.9[31m"))) << line.toStdString();
    EXPECT_LT(line.size(), 260);
    EXPECT_FALSE(run.err.contains(QChar(0x1b)));
}

// A search stopped by a signal prints the rows it has, and says so.
TEST_F(HostileTest, AnInterruptedSearchPrintsItsRows) {
    devnet::Ed2kServerConfig answering, silent;
    answering.hits = 3;
    silent.mode = Ed2kMode::Silent;
    auto& server = m_net.AddEd2kServer(answering);
    m_net.AddEd2kServer(silent);
    m_net.Start();
    for (const int signal : {SIGINT, SIGTERM}) {
        QProcess process;
        Start(process,
              {QStringLiteral("search"), QStringLiteral("--engine=ed2k"), QStringLiteral("x")});
        ASSERT_TRUE(process.waitForStarted());
        // Once the answer is out, the silent server holds the search open.
        const auto before = server.lastAnswerSent();
        while (server.lastAnswerSent() == before) QThread::msleep(10);
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(process.processId()), signal);
        const CliRun run = Finish(process);
        EXPECT_EQ(run.exitCode, 128 + signal);
        EXPECT_EQ(run.rows.size(), 3);
        EXPECT_TRUE(run.err.contains(QStringLiteral("search interrupted")));
    }
}

}  // namespace
