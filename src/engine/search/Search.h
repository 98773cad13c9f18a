#pragma once

#include <QString>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/search/SearchCoordination.h"
#include "engine/settings/ServiceHosts.h"

// One running search: the driver thread and, for eD2k, a session thread per server and the
// progress thread. Owns its threads; destroying it cancels what still runs and joins.
class Search {
public:
    Search(DialogPort& dialog, ResultListPort& list, const ServerTable& servers,
           const ServiceHosts& hosts, const Ed2kLimits& ed2kLimits);
    ~Search();
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;

    void Start();
    // True until the engine has enabled the Search button again for the last time.
    bool IsRunning() const { return m_running; }
    // Waits for every thread to end.
    void Join();
    // Asks every thread to end early; the window's ports must already be switched off.
    void Cancel() { m_coordination.Cancel(); }
    // The hosts that could not be reached, and whether any could.
    const HostReport& report() const { return m_coordination.m_hosts; }

private:
    void SearchThread();
    void ProgressThread();
    void StartEd2kDispatch();

    SearchCoordination m_coordination;
    ServiceHosts m_hosts;
    std::atomic_bool m_running{false};

    std::jthread m_driverThread;
    std::mutex m_threadsMutex;
    std::vector<std::jthread> m_sessionThreads;
    std::jthread m_progressThread;
};
