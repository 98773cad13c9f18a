#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "DevNet.h"
#include "engine/search/MemoryWindow.h"
#include "engine/search/SearchDriver.h"
#include "engine/startup/ServerTable.h"
#include "res/ResourceIds.h"

namespace {

class SearchDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_net.Start();
        m_net.m_magnet.SetTotalHits(25);
    }

    devnet::DevNet m_net;
    MemoryDialog m_dialog;
    MemoryResultList m_list;
    ServerTable m_servers;
};

TEST_F(SearchDriverTest, AnEmptyKeywordChangesNothing) {
    SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts());
    EXPECT_FALSE(driver.OnSearch());
    EXPECT_FALSE(m_dialog.resultsTabShown());
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
}

TEST_F(SearchDriverTest, MagnetSearchDisablesTheButtonUntilItEndsAndIgnoresASecondCommand) {
    m_net.m_magnet.SetDelayMs(150);
    m_list.insertRow(0, QStringLiteral("left over"));
    m_dialog.setText(res::IDC_KEYWORD, QStringLiteral("abc"));
    SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts());
    ASSERT_TRUE(driver.OnSearch());
    EXPECT_TRUE(m_dialog.resultsTabShown());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(m_dialog.isEnabled(res::IDC_SEARCH));
    EXPECT_TRUE(driver.IsRunning());
    EXPECT_FALSE(driver.OnSearch());
    driver.WaitUntilEnded();
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
    EXPECT_EQ(m_dialog.text(res::IDC_SEARCH), "搜索");  // a magnet search never changes it
    EXPECT_EQ(m_list.rowCount(), 25);
    EXPECT_EQ(m_net.m_magnet.requests().size(), 3u);

    // The next search starts from an empty list again.
    ASSERT_TRUE(driver.OnSearch());
    driver.WaitUntilEnded();
    EXPECT_EQ(m_list.rowCount(), 25);
}

TEST_F(SearchDriverTest, Ed2kWithAnEmptyServerTableEndsAtOnce) {
    m_list.insertRow(0, QStringLiteral("left over"));
    m_dialog.setText(res::IDC_KEYWORD, QStringLiteral("abc"));
    m_dialog.setChecked(res::IDC_ED2K_ENGINE, true);
    std::vector<QString> captions;
    m_dialog.setTextObserver([&captions](int id, const QString& text) {
        if (id == res::IDC_SEARCH) captions.push_back(text);
    });
    SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(driver.OnSearch());
    driver.WaitUntilEnded();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_EQ(captions, (std::vector<QString>{"正在搜索.", "搜索"}));
    EXPECT_EQ(m_dialog.text(res::IDC_COUNT), "共收到：0");
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
    EXPECT_EQ(m_list.rowCount(), 0);
    EXPECT_FALSE(driver.IsRunning());
}

TEST_F(SearchDriverTest, ShutdownEndsARunningSearchPromptly) {
    m_net.m_magnet.SetTotalHits(2000);  // 100 pages
    m_net.m_magnet.SetDelayMs(100);
    m_dialog.setText(res::IDC_KEYWORD, QStringLiteral("abc"));
    SearchDriver driver(m_dialog, m_list, m_servers, m_net.hosts());
    ASSERT_TRUE(driver.OnSearch());
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const auto start = std::chrono::steady_clock::now();
    driver.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_LT(m_net.m_magnet.requests().size(), 100u);
}

}  // namespace
