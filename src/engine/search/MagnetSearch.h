#pragma once

#include <QString>
#include <atomic>

class DialogPort;
class HostReport;
class ResultListPort;

// The magnet engine: reads the search site's result pages one after the other and turns every
// hit into a row (name, size, -, magnet link). Runs on the search driver's thread; enables the
// Search button on every way it ends. cancel ends it early (window closing).
// Pages that cannot be fetched go into report, under the host's name.
void MagnetSearch(const QString& keyword, const QString& host, DialogPort& dialog,
                  ResultListPort& list, const std::atomic_bool& cancel,
                  HostReport* report = nullptr);

// The address of result page n (1 for the first page) for keyword on host.
QString MagnetPageUrl(const QString& host, const QString& keyword, int page);

// Cuts every hit out of one page into rows starting at row, while the search's list has room
// (listFull is set when it has not); returns the next free row. Every search starts where the
// cut stands, and a hit whose markers are not all found in the rest of the page ends the page's
// hits: a page costs time in proportion to its length, however it is broken. cancel is looked
// at between hits.
int ScrapeMagnetPage(QStringView page, int row, ResultListPort& list,
                     const std::atomic_bool& cancel, bool& listFull);

// The number of result pages announced by page 1, or 0 when it cannot be read.
int MagnetPageCount(QStringView page);
