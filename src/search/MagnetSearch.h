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

// The number of result pages announced by page 1, or 0 when it cannot be read.
int MagnetPageCount(QStringView page);
