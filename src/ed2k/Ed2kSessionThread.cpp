#include "ed2k/Ed2kSessionThread.h"

#include <mutex>

#include "search/SearchCoordination.h"

void Ed2kSessionThread(SearchCoordination& search, int serverIndex) {
    (void)serverIndex;
    std::lock_guard lock(search.m_searchMutex);
    ++search.m_finishedCount;
}
