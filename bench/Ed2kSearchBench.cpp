// eD2k searches on the simulated network.
// 1. 100 servers that answer after random delays up to 2 s, 10 of them silent: wall time from
//    Search to "搜索" restored, and the peak resident memory.
// 2. Searches whose servers all answer: how long after the last server has written its answer
//    the search shows that it has ended ("搜索" restored), over several rounds.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <vector>

#include "DevNet.h"
#include "engine/ed2k/Ed2kSession.h"
#include "engine/search/MemoryWindow.h"
#include "engine/search/SearchDriver.h"
#include "engine/startup/ServerTable.h"
#include "res/ResourceIds.h"

namespace {

using Clock = std::chrono::steady_clock;

ServerTable TableOf(devnet::DevNet& net) {
    std::string list;
    for (const auto& server : net.m_ed2kServers) list += server->ListEntry();
    ServerTable servers;
    ParseServerList(QString::fromStdString(list), servers);
    return servers;
}

void HundredServers() {
    const Ed2kLimits limits;
    devnet::DevNet net;
    std::mt19937 random(42);
    int slowest = 0;
    for (int i = 0; i < 100; ++i) {
        devnet::Ed2kServerConfig config;
        config.seed = static_cast<std::uint32_t>(i);
        config.packed = i % 3 == 0;
        config.segments = i % 4 == 0 ? 3 : 1;
        if (i % 10 == 9) {
            config.mode = devnet::Ed2kMode::Silent;
        } else {
            config.answerDelayMs = static_cast<int>(random() % 2001);
            slowest = std::max(slowest, config.answerDelayMs);
        }
        net.AddEd2kServer(config);
    }
    net.Start();
    const ServerTable servers = TableOf(net);

    MemoryDialog dialog;
    MemoryResultList rows;
    dialog.setText(res::IDC_KEYWORD, QStringLiteral("benchmark"));
    dialog.setChecked(res::IDC_ED2K_ENGINE, true);
    SearchDriver driver(dialog, rows, servers, net.hosts());
    const auto start = Clock::now();
    driver.OnSearch();
    driver.WaitUntilEnded();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("100 servers (10 silent): search ended after %.2f s with %d rows, caption \"%s\"\n",
                seconds, rows.rowCount(), dialog.text(res::IDC_SEARCH).toUtf8().constData());
    std::printf(
        "  slowest answering server %.2f s; silent-server limit %.2f s (login %.1f + answer "
        "%.1f)\n",
        slowest / 1000.0, (limits.loginMs + limits.answerMs) / 1000.0, limits.loginMs / 1000.0,
        limits.answerMs / 1000.0);
    std::printf("  peak resident memory of the process (servers included): %.1f MiB\n",
                usage.ru_maxrss / 1024.0);
}

// Rounds of a search whose 30 servers all answer within 300 ms.
void EndOfSearch() {
    constexpr int kRounds = 12;
    std::vector<double> lags;
    std::mt19937 random(7);
    for (int round = 0; round < kRounds; ++round) {
        devnet::DevNet net;
        for (int i = 0; i < 30; ++i) {
            devnet::Ed2kServerConfig config;
            config.seed = static_cast<std::uint32_t>(round * 31 + i);
            config.packed = i % 2 == 0;
            config.answerDelayMs = static_cast<int>(random() % 301);
            net.AddEd2kServer(config);
        }
        net.Start();
        const ServerTable servers = TableOf(net);
        MemoryDialog dialog;
        MemoryResultList rows;
        std::mutex endedMutex;
        Clock::time_point ended{};
        dialog.setTextObserver([&](int id, const QString& text) {
            if (id != res::IDC_SEARCH || text != QStringLiteral("搜索")) return;
            std::lock_guard lock(endedMutex);
            ended = Clock::now();
        });
        dialog.setText(res::IDC_KEYWORD, QStringLiteral("benchmark"));
        dialog.setChecked(res::IDC_ED2K_ENGINE, true);
        SearchDriver driver(dialog, rows, servers, net.hosts());
        driver.OnSearch();
        driver.WaitUntilEnded();
        Clock::time_point lastAnswer{};
        for (const auto& server : net.m_ed2kServers)
            lastAnswer = std::max(lastAnswer, server->lastAnswerSent());
        std::lock_guard lock(endedMutex);
        lags.push_back(std::chrono::duration<double, std::milli>(ended - lastAnswer).count());
    }
    std::sort(lags.begin(), lags.end());
    std::printf(
        "30 answering servers, %d rounds: \"搜索\" restored after the last answer went out: "
        "median %.1f ms, min %.1f ms, max %.1f ms\n",
        kRounds, lags[lags.size() / 2], lags.front(), lags.back());
}

}  // namespace

int main() {
    EndOfSearch();
    HundredServers();
    return 0;
}
