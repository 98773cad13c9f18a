#include <gtest/gtest.h>

#include <cstring>

#include "DevNet.h"
#include "engine/startup/ServerTable.h"
#include "engine/startup/StartupSequence.h"

namespace {

std::string Address(const ServerEntry& entry) {
    return std::string(entry.address);
}

TEST(ParseServerList, FillsEntriesFromWellFormedAndBrokenLists) {
    ServerTable table;
    ParseServerList(
        QStringLiteral("svr:1.2.3.4:4661;\r\nsvr:10.0.0.1:4242;\nsvr:192.168.100.200:80;"), table);
    ASSERT_EQ(table.m_serverCount, 3);
    EXPECT_EQ(Address(table.m_serverTable[0]), "1.2.3.4");
    EXPECT_EQ(table.m_serverTable[0].port, 4661);
    EXPECT_EQ(Address(table.m_serverTable[2]), "192.168.100.200");
    EXPECT_EQ(table.m_serverTable[2].port, 80);
    // The rest of each address field stays zero.
    for (std::size_t i = std::strlen("1.2.3.4"); i < 16; ++i)
        EXPECT_EQ(table.m_serverTable[0].address[i], 0);

    ServerTable broken;
    ParseServerList(QStringLiteral("junk svr:5.6.7.8:99 x;svr:9.9.9.9:1;svr:4242;"), broken);
    ASSERT_EQ(broken.m_serverCount, 3);
    // The port text runs to the next ";" and is read up to its first non-digit.
    EXPECT_EQ(broken.m_serverTable[0].port, 99);
    // Without ":" the address is empty and the port text is what stands before the next ";".
    EXPECT_EQ(Address(broken.m_serverTable[2]), "");
    EXPECT_EQ(broken.m_serverTable[2].port, 4242);

    ServerTable unterminated;
    ParseServerList(QStringLiteral("svr:1.1.1.1:5;svr:9.9.9.9:1"), unterminated);
    ASSERT_EQ(unterminated.m_serverCount, 2);
    EXPECT_EQ(Address(unterminated.m_serverTable[1]), "9.9.9.9");
    EXPECT_EQ(unterminated.m_serverTable[1].port, 0);  // the last entry lacks its ";"
}

TEST(ParseServerList, NeverWritesPastTheTableOrTheAddressField) {
    QString list;
    for (int i = 0; i < 150; ++i)
        list += QStringLiteral("svr:1.1.1.%1:%2;").arg(i % 256).arg(i + 1);
    ServerTable table;
    ParseServerList(list, table);
    EXPECT_EQ(table.m_serverCount, 100);
    EXPECT_EQ(table.m_serverTable[99].port, 100);

    ServerTable longAddress;
    ParseServerList(QStringLiteral("svr:123456789012345678901234:7;svr:1.1.1.1:8;"), longAddress);
    ASSERT_EQ(longAddress.m_serverCount, 2);
    EXPECT_EQ(Address(longAddress.m_serverTable[0]), "123456789012345");
    EXPECT_EQ(longAddress.m_serverTable[0].port, 7);
    EXPECT_EQ(Address(longAddress.m_serverTable[1]), "1.1.1.1");
}

TEST(GetOwnVersionText, IsTheProductVersion) {
    EXPECT_EQ(GetOwnVersionText(), "2.0.0.5");
}

class RecordingWindow : public StartupWindow {
public:
    void NavigateAdPage(const QString& address) override { m_navigated.push_back(address); }
    bool AskUpdate(const QString& published) override {
        m_asked.push_back(published);
        return m_answerYes;
    }
    void OpenUpdateArchive(const QString& url) override { m_opened.push_back(url); }
    void EndDialogOk() override { ++m_ended; }

    bool m_answerYes = false;
    std::vector<QString> m_navigated, m_asked, m_opened;
    int m_ended = 0;
};

class StartupSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_net.Start();
        m_net.m_service.SetServerList("svr:127.0.0.1:4661;\nsvr:127.0.0.1:4662;\n");
    }
    bool Run() { return RunStartupSequence(m_net.hosts(), m_window, m_table); }

    devnet::DevNet m_net;
    RecordingWindow m_window;
    ServerTable m_table;
};

TEST_F(StartupSequenceTest, SameVersionRunsThroughWithoutAQuestion) {
    EXPECT_FALSE(Run());
    ASSERT_EQ(m_window.m_navigated.size(), 1u);
    EXPECT_EQ(m_window.m_navigated[0],
              QString::fromStdString("http://" + m_net.m_service.hostPort() + "/ad.html"));
    EXPECT_TRUE(m_window.m_asked.empty());
    EXPECT_EQ(m_net.m_stats.requests(), std::vector<std::string>{"/Statistics.txt"});
    EXPECT_EQ(m_net.m_service.requests(),
              (std::vector<std::string>{"/hostname.txt", "/version.txt", "/emulesvr.txt"}));
    EXPECT_EQ(m_table.m_serverCount, 2);
}

TEST_F(StartupSequenceTest, AnyDifferenceAsksAndNoGoesOn) {
    for (const char* published : {"2.0.0.6", "1.9", "2.0.0.5\n", "2.0.0.5 "}) {
        RecordingWindow window;
        ServerTable table;
        m_net.m_service.SetVersion(published);
        EXPECT_FALSE(RunStartupSequence(m_net.hosts(), window, table));
        ASSERT_EQ(window.m_asked.size(), 1u) << published;
        EXPECT_EQ(window.m_asked[0], QString::fromUtf8(published));
        EXPECT_TRUE(window.m_opened.empty());
        EXPECT_EQ(table.m_serverCount, 2);
    }
}

TEST_F(StartupSequenceTest, YesOpensTheArchiveEndsTheWindowAndStillFinishes) {
    m_net.m_service.SetVersion("3.0.0.0");
    m_window.m_answerYes = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(m_window.m_opened, std::vector<QString>{QString::fromStdString(
                                     "http://" + m_net.m_service.hostPort() + "/Quimb.7z")});
    EXPECT_EQ(m_window.m_ended, 1);
    EXPECT_EQ(m_net.m_stats.requests().size(), 1u);
    EXPECT_EQ(m_table.m_serverCount, 2);
}

TEST_F(StartupSequenceTest, AnEmptyVersionStopsBeforeStatisticsAndServers) {
    m_net.m_service.SetVersion("");
    EXPECT_TRUE(Run());
    EXPECT_TRUE(m_window.m_asked.empty());
    EXPECT_TRUE(m_net.m_stats.requests().empty());
    EXPECT_EQ(m_table.m_serverCount, 0);
}

TEST_F(StartupSequenceTest, AnUnreachableServiceHostNavigatesToAnEmptyAddress) {
    m_net.Stop();
    EXPECT_TRUE(Run());
    EXPECT_EQ(m_window.m_navigated, std::vector<QString>{QString()});
    EXPECT_EQ(m_table.m_serverCount, 0);
}

}  // namespace
