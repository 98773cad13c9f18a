#include "engine/search/Ed2kSessionThread.h"

#include <algorithm>
#include <mutex>

#include "engine/ed2k/Ed2kSession.h"
#include "engine/search/DialogPort.h"
#include "engine/search/ResultListPort.h"
#include "engine/search/SearchCoordination.h"
#include "engine/search/SearchLimits.h"
#include "engine/startup/ServerTable.h"
#include "res/ResourceIds.h"

void Ed2kSessionThread(SearchCoordination& search, int serverIndex) {
    Ed2kSession session(search.m_ed2kLimits, &search.m_cancel);
    const QString keyword = search.dialog.text(res::IDC_KEYWORD);
    const ServerEntry& server = search.servers.m_serverTable[static_cast<std::size_t>(serverIndex)];
    const QString host =
        QStringLiteral("%1:%2").arg(QLatin1String(server.address)).arg(server.port);
    if (search.m_cancel) {
        search.CountFinished();
        return;
    }
    if (session.ConnectAndLogin(server.address, server.port) != 0) {
        search.m_hosts.Failed(host, session.m_error);
        search.CountFinished();
        return;
    }
    search.m_hosts.Reached();
    const int found = session.Search(keyword);
    if (found < 0 && !search.m_cancel) search.m_hosts.Failed(host, session.m_error);
    if (found <= 0 || search.m_cancel) {
        search.CountFinished();
        return;
    }

    DialogPort& dialog = search.dialog;
    ResultListPort& list = search.list;
    const int pos = list.rowCount();  // read before the lock: other sessions may insert meanwhile
    // Results go in from the last one the server listed to the first.
    const QStringList& results = session.m_results;
    QList<ResultListPort::Row> rows;
    rows.reserve(results.size() / 4);
    for (qsizetype i = results.size() - 4; i >= 0; i -= 4)
        rows.append({results[i], results[i + 1], results[i + 2], results[i + 3]});
    {
        std::lock_guard lock(search.m_searchMutex);
        // The list keeps at most its limit of rows: what does not fit is dropped.
        const qsizetype room = search_limits::kMaxRows - list.rowCount();
        if (rows.size() > room) {
            rows.resize(std::max<qsizetype>(room, 0));
            search.m_rowsCut = true;
        }
        // One window call for all of them: duplicates (of any row in the list) and rows with an
        // empty cell are left out, the rest go in one after the other from pos.
        if (!rows.isEmpty()) list.insertNewRows(pos, rows);
        dialog.setText(res::IDC_COUNT, search_limits::FoundText(list.rowCount(), search.m_rowsCut));
        ++search.m_finishedCount;
    }
    search.WakeProgress();
}
