#include "engine/search/SearchDriver.h"

#include "engine/search/DialogPort.h"
#include "engine/search/Search.h"
#include "res/ResourceIds.h"

SearchDriver::SearchDriver(DialogPort& dialog, ResultListPort& list, const ServerTable& servers,
                           ServiceHosts hosts, Ed2kLimits ed2kLimits)
    : m_dialog(dialog),
      m_list(list),
      m_servers(servers),
      m_hosts(std::move(hosts)),
      m_ed2kLimits(ed2kLimits) {}

SearchDriver::~SearchDriver() {
    Shutdown();
}

bool SearchDriver::OnSearch() {
    if (IsRunning()) return false;
    if (m_dialog.text(res::IDC_KEYWORD).isEmpty()) return false;
    m_dialog.showResultsTab();
    // The previous search has ended; its threads are past their last window call.
    m_search.reset();
    m_search = std::make_unique<Search>(m_dialog, m_list, m_servers, m_hosts, m_ed2kLimits);
    m_search->Start();
    return true;
}

bool SearchDriver::IsRunning() const {
    return m_search && m_search->IsRunning();
}

void SearchDriver::WaitUntilEnded() {
    if (m_search) m_search->Join();
}

void SearchDriver::Shutdown() {
    if (!m_search) return;
    m_search->Cancel();
    m_search->Join();
    m_search.reset();
}

void SearchDriver::Cancel() {
    if (m_search) m_search->Cancel();
}

const HostReport* SearchDriver::report() const {
    return m_search ? &m_search->report() : nullptr;
}
