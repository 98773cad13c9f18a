// The magnet page scraper: time per MB of page for a page of bare hit openings (every hit's
// closing markers missing) and for a page of whole hits, beside one scan of the same page.
#include <benchmark/benchmark.h>

#include <QString>
#include <atomic>

#include "MagnetSite.h"
#include "engine/search/MagnetSearch.h"
#include "engine/search/MemoryWindow.h"

namespace {

constexpr int kPageBytes = 1600000;

QString BareMarkers() {
    QString page = QStringLiteral("totalPages: 1, visiblePages");
    while (page.size() < kPageBytes) page += QStringLiteral("target=\"_blank\">");
    return page;
}

QString WholeHits() {
    // The simulated site's pages, one after the other.
    QString page;
    for (int n = 1; page.size() < kPageBytes; ++n)
        page += QString::fromStdString(devnet::MagnetSite::Page("bench", n, 1 << 20));
    return page;
}

// Seconds per MB (million characters) of page, shown in the benchmark's time unit.
benchmark::Counter PerMB(const QString& page) {
    return benchmark::Counter(
        static_cast<double>(page.size()) / 1e6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Scrape(benchmark::State& state, const QString& page) {
    const std::atomic_bool cancel{false};
    int rows = 0;
    for (auto _ : state) {
        MemoryResultList list;
        bool full = false;
        rows = ScrapeMagnetPage(page, 0, list, cancel, full);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    state.counters["page_MB"] = page.size() / 1e6;
    state.counters["time_per_MB"] = PerMB(page);
}

// The floor: one search through the whole page for a marker it does not hold.
void Scan(benchmark::State& state, const QString& page) {
    for (auto _ : state) benchmark::DoNotOptimize(page.indexOf(QStringLiteral("磁力链接X")));
    state.counters["time_per_MB"] = PerMB(page);
}

void BM_ScrapeBareMarkers(benchmark::State& state) {
    static const QString page = BareMarkers();
    Scrape(state, page);
}
void BM_ScanBareMarkers(benchmark::State& state) {
    static const QString page = BareMarkers();
    Scan(state, page);
}
void BM_ScrapeWholeHits(benchmark::State& state) {
    static const QString page = WholeHits();
    Scrape(state, page);
}
void BM_ScanWholeHits(benchmark::State& state) {
    static const QString page = WholeHits();
    Scan(state, page);
}

BENCHMARK(BM_ScrapeBareMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanBareMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrapeWholeHits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanWholeHits)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
