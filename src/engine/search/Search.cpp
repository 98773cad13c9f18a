#include "engine/search/Search.h"

#include "engine/search/DialogPort.h"
#include "engine/search/Ed2kSessionThread.h"
#include "engine/search/MagnetSearch.h"
#include "engine/search/ResultListPort.h"
#include "engine/startup/ServerTable.h"
#include "res/ResourceIds.h"

Search::Search(DialogPort& dialog, ResultListPort& list, const ServerTable& servers,
               const ServiceHosts& hosts, const Ed2kLimits& ed2kLimits)
    : m_coordination(dialog, list, servers, ed2kLimits), m_hosts(hosts) {}

Search::~Search() {
    Cancel();
    Join();
}

void Search::Start() {
    m_running = true;
    m_driverThread = std::jthread([this] { SearchThread(); });
}

void Search::Join() {
    if (m_driverThread.joinable()) m_driverThread.join();
    std::lock_guard lock(m_threadsMutex);
    for (std::jthread& thread : m_sessionThreads)
        if (thread.joinable()) thread.join();
    if (m_progressThread.joinable()) m_progressThread.join();
}

void Search::SearchThread() {
    DialogPort& dialog = m_coordination.dialog;
    ResultListPort& list = m_coordination.list;
    const QString keyword = dialog.text(res::IDC_KEYWORD);
    dialog.setEnabled(res::IDC_SEARCH, false);
    if (keyword.isEmpty()) {
        dialog.setEnabled(res::IDC_SEARCH, true);
        m_running = false;
        return;
    }
    list.clear();
    if (dialog.isChecked(res::IDC_MAGNET_ENGINE)) {
        MagnetSearch(keyword, m_hosts.magnet, dialog, list, m_coordination.m_cancel,
                     &m_coordination.m_hosts);
        m_running = false;
        return;
    }
    StartEd2kDispatch();
}

void Search::StartEd2kDispatch() {
    m_coordination.list.clear();
    m_coordination.dialog.setText(res::IDC_COUNT, QStringLiteral("共收到：0"));
    // The driver holds the search mutex until every thread is started, so no session can
    // count itself finished before the progress display exists.
    std::unique_lock searchLock(m_coordination.m_searchMutex);
    m_coordination.m_finishedCount = 0;
    std::lock_guard threadsLock(m_threadsMutex);
    const int count = m_coordination.servers.m_serverCount;
    m_sessionThreads.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        m_sessionThreads.emplace_back([this, i] { Ed2kSessionThread(m_coordination, i); });
    m_progressThread = std::jthread([this] { ProgressThread(); });
}

void Search::ProgressThread() {
    DialogPort& dialog = m_coordination.dialog;
    const int serverCount = m_coordination.servers.m_serverCount;
    dialog.setText(res::IDC_SEARCH, QStringLiteral("正在搜索."));
    std::unique_lock lock(m_coordination.m_searchMutex);
    while (m_coordination.m_finishedCount != serverCount) {
        lock.unlock();
        const QString caption = dialog.text(res::IDC_SEARCH);
        if (caption == QStringLiteral("正在搜索.")) {
            dialog.setText(res::IDC_SEARCH, QStringLiteral("正在搜索.."));
        } else if (caption == QStringLiteral("正在搜索..")) {
            dialog.setText(res::IDC_SEARCH, QStringLiteral("正在搜索..."));
        } else if (caption == QStringLiteral("正在搜索...")) {
            dialog.setText(res::IDC_SEARCH, QStringLiteral("正在搜索."));
        }
        // The caption moves on every 500 ms, but the display ends as soon as the last session
        // has counted itself finished. A cancelled search still waits until its sessions have
        // counted themselves, which they do promptly once their sockets are shut.
        const auto tick = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        if (!m_coordination.SleepUntilAllFinished(tick, serverCount) && m_coordination.m_cancel)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        lock.lock();
    }
    lock.unlock();
    dialog.setText(res::IDC_SEARCH, QStringLiteral("搜索"));
    dialog.setEnabled(res::IDC_SEARCH, true);
    m_running = false;
}
