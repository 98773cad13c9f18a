#include "MagnetSite.h"
#include "Random.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace devnet {

namespace {

std::string HtmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

const char* const kPatterns[] = {
    "[1080p] %s 第%02d集.mkv",
    "%s.S01E%02d.720p.WEB-DL.mp4",
    "%s 合集 %02d [中字].avi",
    "[%s] Vol.%02d 高清.rmvb",
};
const char* const kUnits[] = {"MB", "GB", "MB", "KB"};

}  // namespace

MagnetSite::MagnetSite() {
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        const int page =
            request.matches.size() > 2 ? std::atoi(request.matches[2].str().c_str()) : 1;
        Answer(request.matches[1].str(), page, response);
    };
    m_server.Get(R"(/search/([^/]+))", handler);
    m_server.Get(R"(/search/([^/]+)/(\d+))", handler);
}

void MagnetSite::SetTotalHits(int hits) {
    std::lock_guard lock(m_mutex);
    m_totalHits = hits;
}

void MagnetSite::SetMode(MagnetMode mode) {
    std::lock_guard lock(m_mutex);
    m_mode = mode;
}

void MagnetSite::SetDelayMs(int delayMs) {
    std::lock_guard lock(m_mutex);
    m_delayMs = delayMs;
}

int MagnetSite::HitsFor(const std::string& keyword, int configured) {
    if (configured > 0) return configured;
    return 25 + static_cast<int>(Mix(HashText(keyword)) % 41);
}

std::string MagnetSite::Page(const std::string& keyword, int page, int totalHits) {
    const int pages = (totalHits + kHitsPerPage - 1) / kHitsPerPage;
    const std::string shown = HtmlEscape(keyword);
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + shown +
                       " - 磁力搜索</title></head>\n<body><div class=\"search-list\">\n";
    const int first = (page - 1) * kHitsPerPage;
    for (int i = first; i < first + kHitsPerPage && i < totalHits && page >= 1; ++i) {
        const std::uint64_t seed = Mix(HashText(keyword) + static_cast<std::uint64_t>(i));
        // Every fifth hit repeats the name of the one before, as real sites list re-uploads.
        const int nameIndex = (i % 5 == 4) ? i - 1 : i;
        const char* pattern = kPatterns[Mix(HashText(keyword) + nameIndex) % 4];
        char name[512];
        std::snprintf(name, sizeof name, pattern, "\x01", nameIndex + 1);
        std::string highlighted = name;
        const auto at = highlighted.find('\x01');
        highlighted.replace(at, 1, "<span class='highlight'>" + shown + "</span>");
        char size[32];
        std::snprintf(size, sizeof size, "%.2f %s", 1.0 + static_cast<double>(seed % 99900) / 100.0,
                      kUnits[(seed >> 20) % 4]);
        char hash[41];
        std::snprintf(hash, sizeof hash, "%016llX%016llX%08X",
                      static_cast<unsigned long long>(seed),
                      static_cast<unsigned long long>(Mix(seed)),
                      static_cast<unsigned>(Mix(seed + 1) & 0xFFFFFFFFu));
        html +=
            "<div class=\"search-item\">\n<div class=\"item-title\"><h3><span class=\"name\">"
            "<a href=\"/detail/" +
            std::string(hash) + "\" target=\"_blank\">" + highlighted +
            "</a></span></h3></div>\n<div class=\"item-bar\"><span>创建时间：<b>2026-0" +
            std::to_string(1 + seed % 9) + "-1" + std::to_string(seed % 10) +
            "</b></span><span class=\"label\">大小：</span><span class=\"size\">" + size +
            "</span><span>热度：<b>" + std::to_string(seed % 5000) +
            "</b></span><a href=\"magnet:?xt=urn:btih:" + hash + "\">磁力链接</a></div>\n</div>\n";
    }
    html += "</div>\n<div id=\"pager\"></div>\n<script>$('#pager').twbsPagination({totalPages: " +
            std::to_string(pages < 1 ? 1 : pages) +
            ", visiblePages: 7, startPage: " + std::to_string(page) +
            "});</script>\n</body></html>\n";
    return html;
}

void MagnetSite::Answer(const std::string& keyword, int page, httplib::Response& response) {
    int configured = 0;
    int delayMs = 0;
    MagnetMode mode = MagnetMode::Normal;
    {
        std::lock_guard lock(m_mutex);
        configured = m_totalHits;
        delayMs = m_delayMs;
        mode = m_mode;
    }
    if (mode != MagnetMode::Normal) return AnswerHostile(mode, page, response);
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    response.set_content(Page(keyword, page, HitsFor(keyword, configured)),
                         "text/html; charset=utf-8");
}

namespace {

std::string PageCount(long long pages) {
    return "<script>$('#pager').twbsPagination({totalPages: " + std::to_string(pages) +
           ", visiblePages: 7});</script>\n";
}

// One hit in the form the scraper reads, its link unique to (page, index).
std::string FillerHit(int page, long long index) {
    return "<div><a href=\"/d\" target=\"_blank\">hostile " + std::to_string(index) +
           "</a></span><span>大小：</span><span class=\"size\">1.00 GB</span><a "
           "href=\"magnet:?xt=urn:btih:" +
           std::to_string(page) + "x" + std::to_string(index) + "\">磁力链接</a></div>\n";
}

}  // namespace

void MagnetSite::AnswerHostile(MagnetMode mode, int page, httplib::Response& response) {
    const char* type = "text/html; charset=utf-8";
    switch (mode) {
        case MagnetMode::BareMarkers: {
            const std::string marker = "target=\"_blank\">";
            std::string html = PageCount(1);
            while (html.size() < 1600000) html += marker;
            response.set_content(html, type);
            return;
        }
        case MagnetMode::BillionPages:
        case MagnetMode::FullPages: {
            const int hits = mode == MagnetMode::BillionPages ? 20 : 40000;
            std::string html = PageCount(1000000000);
            for (int i = 0; i < hits; ++i) html += FillerHit(page, i);
            response.set_content(html, type);
            return;
        }
        case MagnetMode::EndlessBody:
            response.set_chunked_content_provider(
                type, [this, page, index = 0LL](std::size_t, httplib::DataSink& sink) mutable {
                    std::string chunk = index == 0 ? PageCount(1) : std::string();
                    for (int i = 0; i < 100; ++i) chunk += FillerHit(page, index++);
                    return running() && sink.write(chunk.data(), chunk.size());
                });
            return;
        case MagnetMode::Normal:
            break;
    }
}

}  // namespace devnet
