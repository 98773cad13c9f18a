// One eD2k search of 100 simulated servers that answer after random delays up to 2 s, 10 of
// them silent: wall time from Search to "搜索" restored, and the peak resident memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "DevNet.h"
#include "app/ServerTable.h"
#include "ed2k/Ed2kSession.h"
#include "platform/MemoryWindow.h"
#include "res/ResourceIds.h"
#include "search/SearchDriver.h"

int main() {
    const Ed2kLimits limits = CurrentEd2kLimits();
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
    std::string list;
    for (const auto& server : net.m_ed2kServers) list += server->ListEntry();
    ServerTable servers;
    ParseServerList(QString::fromStdString(list), servers);

    MemoryDialog dialog;
    MemoryResultList rows;
    dialog.setText(res::IDC_KEYWORD, QStringLiteral("benchmark"));
    dialog.setChecked(res::IDC_ED2K_ENGINE, true);
    SearchDriver driver(dialog, rows, servers, net.hosts());
    const auto start = std::chrono::steady_clock::now();
    driver.OnSearch();
    driver.WaitUntilEnded();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
    return 0;
}
