#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/ed2k/Ed2kSession.h"
#include "engine/search/HostReport.h"

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
    Ed2kLimits m_ed2kLimits;  // of every server exchange

    std::mutex m_searchMutex;
    int m_finishedCount = 0;
    bool m_rowsCut = false;  // rows were dropped at the list's limit

    HostReport m_hosts;  // which servers could not be reached, and whether any could

    std::atomic_bool m_cancel{false};
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;

    SearchCoordination(DialogPort& d, ResultListPort& l, const ServerTable& s,
                       const Ed2kLimits& ed2kLimits)
        : dialog(d), list(l), servers(s), m_ed2kLimits(ed2kLimits) {}

    // Sleeps until deadline, or less when the search is cancelled or when every session has
    // counted itself finished. Returns whether every session has.
    template <typename TimePoint>
    bool SleepUntilAllFinished(TimePoint deadline, int sessions) {
        std::unique_lock lock(m_wakeMutex);
        m_wake.wait_until(lock, deadline, [&] { return m_cancel.load() || AllFinished(sessions); });
        return AllFinished(sessions);
    }

    // A session's last action on shared state: it counts itself finished, and wakes the
    // progress display, which then ends at once instead of at its next tick.
    void CountFinished() {
        {
            std::lock_guard lock(m_searchMutex);
            ++m_finishedCount;
        }
        WakeProgress();
    }
    // For a session that counted itself under a hold of the search mutex of its own: call it
    // once that hold has ended.
    void WakeProgress() {
        std::lock_guard wakeLock(m_wakeMutex);
        m_wake.notify_all();
    }

    bool AllFinished(int sessions) {
        std::lock_guard lock(m_searchMutex);
        return m_finishedCount == sessions;
    }

    void Cancel() {
        {
            std::lock_guard lock(m_wakeMutex);
            m_cancel = true;
        }
        m_wake.notify_all();
    }
};
