#pragma once

#include <mutex>
#include <string>

#include "HttpHost.h"

namespace devnet {

// How the site answers: as a real site, or as a hostile one.
enum class MagnetMode {
    Normal,
    BareMarkers,   // page 1: the page count, then hit openings and nothing else (1.6 MB)
    BillionPages,  // every page announces 10^9 pages and holds 20 hits
    FullPages,     // every page announces 10^9 pages and holds 40,000 new hits (about 10 MB)
    EndlessBody,   // page 1: the page count, then hits for ever
};

// A magnet search site: any keyword has a few pages of hits, 20 to a page, in the page form
// the scraper reads (highlighted keyword, size label, magnet link, page-count script).
class MagnetSite : public HttpHost {
public:
    MagnetSite();

    // Hits per keyword; 0 means chosen from the keyword (25 to 65).
    void SetTotalHits(int hits);
    void SetDelayMs(int delayMs);
    void SetMode(MagnetMode mode);

    static constexpr int kHitsPerPage = 20;
    static int HitsFor(const std::string& keyword, int configured);
    // The HTML of result page page (1-based) of keyword.
    static std::string Page(const std::string& keyword, int page, int totalHits);

private:
    void Answer(const std::string& keyword, int page, httplib::Response& response);
    void AnswerHostile(MagnetMode mode, int page, httplib::Response& response);

    std::mutex m_mutex;
    int m_totalHits = 0;
    int m_delayMs = 0;
    MagnetMode m_mode = MagnetMode::Normal;
};

}  // namespace devnet
