// The magnet search site's page: its page count and the scrape of its hits, on arbitrary text.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/search/MagnetSearch.h"
#include "engine/search/MemoryWindow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString page =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (MagnetPageCount(page) < 0) __builtin_trap();
    MemoryResultList list;
    const std::atomic_bool cancel{false};
    bool full = false;
    const int rows = ScrapeMagnetPage(page, 0, list, cancel, full);
    // A hit takes at least its opening marker.
    if (rows != list.rowCount() || rows > page.size() / 16 + 1 || full) __builtin_trap();
    return 0;
}
