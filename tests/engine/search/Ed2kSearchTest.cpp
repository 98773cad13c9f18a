#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <thread>

#include "DevNet.h"
#include "Ed2kAnswer.h"
#include "engine/ed2k/Ed2kPackets.h"
#include "engine/ed2k/Ed2kSession.h"
#include "engine/search/MemoryWindow.h"
#include "engine/search/SearchDriver.h"
#include "engine/startup/ServerTable.h"
#include "res/ResourceIds.h"

namespace {

using devnet::Ed2kMode;
using devnet::Ed2kServerConfig;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Short limits keep the silent-server cases quick.
class Ed2kSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_limits.connectMs = 1000;
        m_limits.loginMs = 500;
        m_limits.answerMs = 1500;
        m_dialog.setText(res::IDC_KEYWORD, QStringLiteral("星际"));
        m_dialog.setChecked(res::IDC_ED2K_ENGINE, true);
        m_dialog.setTextObserver([this](int id, const QString& text) {
            std::lock_guard lock(m_captionsMutex);
            if (id == res::IDC_SEARCH) m_captions.emplace_back(Clock::now(), text);
        });
    }

    devnet::Ed2kServer& Add(Ed2kServerConfig config) { return m_net.AddEd2kServer(config); }

    // Starts the network, reads the server list like the start-up sequence, runs one search.
    Clock::duration RunSearch() {
        m_net.Start();
        ParseServerList(QStringLiteral("%1").arg(QString::fromStdString(ServerListText())),
                        m_servers);
        SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts(), m_limits);
        const auto start = Clock::now();
        EXPECT_TRUE(driver.OnSearch());
        driver.WaitUntilEnded();
        return Clock::now() - start;
    }

    std::string ServerListText() {
        std::string list;
        for (const auto& server : m_net.m_ed2kServers) list += server->ListEntry() + "\n";
        return list;
    }

    Ed2kLimits m_limits;
    devnet::DevNet m_net;
    MemoryDialog m_dialog;
    MemoryResultList m_list;
    ServerTable m_servers;
    std::mutex m_captionsMutex;
    std::vector<std::pair<Clock::time_point, QString>> m_captions;
};

TEST_F(Ed2kSearchTest, OneServersResultsGoInReversedAndCounted) {
    Ed2kServerConfig config;
    config.hits = 3;
    auto& server = Add(config);
    RunSearch();
    const auto hits = devnet::Ed2kHitsFor("星际", config.seed, 3, true);
    const auto rows = m_list.rows();
    ASSERT_EQ(rows.size(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rows[i][0], QString::fromStdString(hits[2 - i].name));
    EXPECT_EQ(rows[0][2], QString::number(hits[2].sources));
    EXPECT_TRUE(rows[0][3].startsWith(QStringLiteral("ed2k://|file|")));
    EXPECT_EQ(m_dialog.text(res::IDC_COUNT), "共搜到：3");
    EXPECT_EQ(server.keywords(), std::vector<std::string>{"星际"});
}

TEST_F(Ed2kSearchTest, RefusingSilentEmptyAndAnsweringServersAllCountThemselvesFinished) {
    Ed2kServerConfig refuse, silent, closing, empty, garbage, packed, pieces;
    refuse.mode = Ed2kMode::Refuse;
    silent.mode = Ed2kMode::Silent;
    closing.mode = Ed2kMode::CloseAtOnce;
    empty.mode = Ed2kMode::NoHits;
    garbage.mode = Ed2kMode::Garbage;
    packed.packed = true;
    packed.hits = 10;
    packed.seed = 2;
    pieces.segments = 5;
    pieces.hits = 10;
    pieces.seed = 30;  // another part of the keyword's pool
    for (const auto& config : {refuse, silent, closing, empty, garbage, packed, pieces})
        Add(config);
    const auto elapsed = RunSearch();
    // The silent server costs its login wait and its answer limit, no more.
    EXPECT_LT(elapsed, milliseconds(500 + 1500 + 1200));
    EXPECT_EQ(m_list.rowCount(), 20);
    EXPECT_EQ(m_dialog.text(res::IDC_COUNT), "共搜到：20");
    EXPECT_EQ(m_dialog.text(res::IDC_SEARCH), "搜索");
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
}

TEST_F(Ed2kSearchTest, TheSameFileFromTwoServersGivesOneRow) {
    Ed2kServerConfig a, b;
    a.hits = b.hits = 5;
    a.seed = b.seed = 9;  // the same five files
    b.packed = true;
    Add(a);
    Add(b);
    RunSearch();
    EXPECT_EQ(m_list.rowCount(), 5);
}

TEST_F(Ed2kSearchTest, TheCaptionCyclesEveryHalfSecondUntilTheLastSessionEnds) {
    Ed2kServerConfig slow;
    slow.answerDelayMs = 1300;
    slow.hits = 2;
    Add(slow);
    RunSearch();
    std::vector<QString> texts;
    for (const auto& [when, text] : m_captions) texts.push_back(text);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], "正在搜索.");
    EXPECT_EQ(texts[1], "正在搜索..");
    EXPECT_EQ(texts[2], "正在搜索...");
    EXPECT_EQ(texts.back(), "搜索");
    const auto step = m_captions[2].first - m_captions[1].first;
    EXPECT_GT(step, milliseconds(400));
    EXPECT_LT(step, milliseconds(800));
    EXPECT_EQ(m_list.rowCount(), 2);
}

// As a mature client talks to a server: login, its list of shared files, then several searches
// on the one connection. Every search is answered.
TEST_F(Ed2kSearchTest, SimulatedServersAnswerEverySearchOfAConnection) {
    Ed2kServerConfig config;
    config.hits = 4;
    auto& server = Add(config);
    m_net.Start();
    TcpConnection connection;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    ASSERT_TRUE(connection.Connect(htonl(INADDR_LOOPBACK),
                                   htons(static_cast<std::uint16_t>(server.port())), deadline));
    const auto& login = ed2k::LoginPacket();
    const std::vector<std::uint8_t> offerFiles = devnet::Frame(0xE3, 0x15, {0, 0, 0, 0});
    const std::vector<std::uint8_t> packedNoise = devnet::Frame(0xD4, 0x15, {1, 2, 3});
    std::vector<std::uint8_t> out(login.begin(), login.end());
    for (const auto* packet : {&offerFiles, &packedNoise})
        out.insert(out.end(), packet->begin(), packet->end());
    for (const char* keyword : {"一", "二"}) {
        const auto search = ed2k::SearchRequestPacket(QString::fromUtf8(keyword));
        out.insert(out.end(), search.begin(), search.end());
    }
    ASSERT_TRUE(connection.SendAll(out.data(), out.size(), deadline));

    // Read packets until both search answers are in.
    std::vector<std::uint8_t> received;
    int answers = 0;
    std::uint8_t chunk[4096];
    while (answers < 2) {
        const long got = connection.Receive(chunk, sizeof chunk, deadline);
        ASSERT_GT(got, 0) << answers << " answers before the server stopped";
        received.insert(received.end(), chunk, chunk + got);
        while (received.size() >= 5) {
            const std::size_t length = received[1] | (received[2] << 8) | (received[3] << 16) |
                                       (static_cast<std::size_t>(received[4]) << 24);
            if (received.size() < 5 + length) break;
            if (received[5] == ed2k::kOpSearchResult) ++answers;
            received.erase(received.begin(), received.begin() + static_cast<long>(5 + length));
        }
    }
    EXPECT_EQ(server.keywords(), (std::vector<std::string>{"一", "二"}));
}

TEST_F(Ed2kSearchTest, ASessionThatCannotConnectFailsAtOnce) {
    Ed2kSession session;
    EXPECT_EQ(session.ConnectAndLogin("1.2.3.256", 4661), -1);
    EXPECT_FALSE(session.m_socket.IsOpen());
    EXPECT_EQ(session.ConnectAndLogin("", 4661), -1);
    EXPECT_EQ(ntohs(session.m_serverAddress.sin_port), 4661);  // sent as 12 35
}

TEST_F(Ed2kSearchTest, ShutdownEndsSessionsWaitingOnASilentServer) {
    m_limits.answerMs = 20000;
    m_limits.loginMs = 20000;
    Ed2kServerConfig silent;
    silent.mode = Ed2kMode::Silent;
    Add(silent);
    m_net.Start();
    ParseServerList(QString::fromStdString(ServerListText()), m_servers);
    SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts(), m_limits);
    ASSERT_TRUE(driver.OnSearch());
    std::this_thread::sleep_for(milliseconds(300));
    const auto start = Clock::now();
    driver.Shutdown();
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
}

}  // namespace
