#include "ed2k/Ed2kSessionThread.h"

#include <mutex>

#include "app/ServerTable.h"
#include "ed2k/Ed2kSession.h"
#include "platform/DialogPort.h"
#include "platform/ResultListPort.h"
#include "res/ResourceIds.h"
#include "search/SearchCoordination.h"

namespace {

// Every way through a session ends here, exactly once.
void CountFinished(SearchCoordination& search) {
    std::lock_guard lock(search.m_searchMutex);
    ++search.m_finishedCount;
}

}  // namespace

void Ed2kSessionThread(SearchCoordination& search, int serverIndex) {
    Ed2kSession session(&search.m_cancel);
    const QString keyword = search.dialog.text(res::IDC_KEYWORD);
    const ServerEntry& server = search.servers.m_serverTable[static_cast<std::size_t>(serverIndex)];
    if (search.m_cancel || session.ConnectAndLogin(server.address, server.port) != 0 ||
        session.Search(keyword) <= 0 || search.m_cancel) {
        CountFinished(search);
        return;
    }

    DialogPort& dialog = search.dialog;
    ResultListPort& list = search.list;
    int pos = list.rowCount();  // read before the lock: other sessions may insert meanwhile
    std::lock_guard lock(search.m_searchMutex);
    QStringList& results = session.m_results;
    // Results go in from the last one the server listed to the first.
    while (results.size() >= 4) {
        const QString link = results.takeLast();
        const QString sources = results.takeLast();
        const QString size = results.takeLast();
        const QString name = results.takeLast();
        if (list.containsLink(link)) continue;
        if (name.isEmpty() || size.isEmpty() || sources.isEmpty() || link.isEmpty()) continue;
        list.insertRow(pos, QStringLiteral("11"));
        list.setCell(pos, 0, name);
        list.setCell(pos, 1, size);
        list.setCell(pos, 2, sources);
        list.setCell(pos, 3, link);
        ++pos;
    }
    dialog.setText(res::IDC_COUNT, QStringLiteral("共搜到：%1").arg(list.rowCount()));
    ++search.m_finishedCount;
}
