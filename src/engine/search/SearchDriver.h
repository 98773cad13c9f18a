#pragma once

#include <memory>

#include "engine/ed2k/Ed2kSession.h"
#include "engine/settings/ServiceHosts.h"

class DialogPort;
class ResultListPort;
class HostReport;
class Search;
struct ServerTable;

// Turns the Search command into a running Search. One search at a time: the command is
// ignored while one runs, so no counter is reset under running sessions.
class SearchDriver {
public:
    SearchDriver(DialogPort& dialog, ResultListPort& list, const ServerTable& servers,
                 ServiceHosts hosts, Ed2kLimits ed2kLimits = {});
    ~SearchDriver();

    // The Search command (button 1004, or Enter in the keyword box). Returns at once.
    // Returns true when a search was started.
    bool OnSearch();
    bool IsRunning() const;
    // Blocks until the current search (if any) has ended and its threads are joined.
    // Only for callers whose window ports do not need this thread (CLI, tests).
    void WaitUntilEnded();
    // Cancels the current search and joins its threads. The ports must be switched off first.
    void Shutdown();
    // Asks the current search to end early without waiting for it; thread-safe against
    // WaitUntilEnded.
    void Cancel();
    // What the last search found of its hosts; nullptr before the first search.
    const HostReport* report() const;

private:
    DialogPort& m_dialog;
    ResultListPort& m_list;
    const ServerTable& m_servers;
    ServiceHosts m_hosts;
    Ed2kLimits m_ed2kLimits;
    std::unique_ptr<Search> m_search;
};
