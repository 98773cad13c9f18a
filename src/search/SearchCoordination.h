#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class DialogPort;
class ResultListPort;
struct ServerTable;

// What the threads of one eD2k search share: the window, the server table, the search mutex
// (held while rows go in and while the finished counter is read or changed), the counter, and
// the cancel flag that closing the window raises.
struct SearchCoordination {
    DialogPort& dialog;
    ResultListPort& list;
    const ServerTable& servers;

    std::mutex m_searchMutex;
    int m_finishedCount = 0;

    std::atomic_bool m_cancel{false};
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;

    SearchCoordination(DialogPort& d, ResultListPort& l, const ServerTable& s)
        : dialog(d), list(l), servers(s) {}

    // Sleeps for duration, or less when the search is cancelled. Returns false if cancelled.
    bool SleepFor(std::chrono::milliseconds duration) {
        std::unique_lock lock(m_wakeMutex);
        return !m_wake.wait_for(lock, duration, [this] { return m_cancel.load(); });
    }

    void Cancel() {
        {
            std::lock_guard lock(m_wakeMutex);
            m_cancel = true;
        }
        m_wake.notify_all();
    }
};
