#include "engine/search/MagnetSearch.h"

#include <algorithm>

#include "engine/net/FetchUrlText.h"
#include "engine/search/DialogPort.h"
#include "engine/search/HostReport.h"
#include "engine/search/ResultListPort.h"
#include "engine/search/SearchLimits.h"
#include "engine/settings/ServiceHosts.h"
#include "engine/text/KeywordEncoding.h"
#include "engine/text/TextCut.h"
#include "res/ResourceIds.h"

namespace {

const QString kTotalPages = QStringLiteral("totalPages:");
const QString kVisiblePages = QStringLiteral("visiblePages");
const QString kHitStart = QStringLiteral("target=\"_blank\">");
const QString kNameEnd = QStringLiteral("</a></span>");
const QString kHighlightOpen = QStringLiteral("<span class='highlight'>");
const QString kSpanClose = QStringLiteral("</span>");
const QString kSizeLabel = QStringLiteral("大小");
const QString kTagEnd = QStringLiteral("\">");
const QString kMagnetStart = QStringLiteral("<a href=\"magnet:?");
const QString kMagnetEnd = QStringLiteral("\">磁力链接");

}  // namespace

int ScrapeMagnetPage(QStringView p, int row, ResultListPort& list, const std::atomic_bool& cancel,
                     bool& listFull) {
    // Each marker of a hit, from where the cut stands; -1 ends the page.
    auto next = [&p](const QString& marker) { return cut::find(p, marker); };
    for (qsizetype start = next(kHitStart); start != -1 && !cancel; start = next(kHitStart)) {
        p = cut::from(p, start + kHitStart.size());
        const qsizetype nameEnd = next(kNameEnd);
        if (nameEnd == -1) break;
        QString name = cut::first(p, nameEnd).toString();
        p = cut::from(p, nameEnd);
        const qsizetype label = next(kSizeLabel);
        if (label == -1) break;
        p = cut::from(p, label + 4);
        const qsizetype tagEnd = next(kTagEnd);
        if (tagEnd == -1) break;
        p = cut::from(p, tagEnd + 2);
        const qsizetype sizeEnd = next(kSpanClose);
        if (sizeEnd == -1) break;
        const QString size = cut::first(p, sizeEnd).toString();
        const qsizetype magnet = next(kMagnetStart);
        if (magnet == -1) break;
        p = cut::from(p, magnet + 9);
        const qsizetype magnetEnd = next(kMagnetEnd);
        if (magnetEnd == -1) break;
        if (row >= search_limits::kMaxRows) {
            listFull = true;
            break;
        }
        name.remove(kHighlightOpen);
        name.remove(kSpanClose);
        list.insertRow(row, QStringLiteral(" "));
        list.setCell(row, 0, name);
        list.setCell(row, 1, size);
        list.setCell(row, 3, cut::first(p, magnetEnd).toString());
        ++row;
    }
    return row;
}

QString MagnetPageUrl(const QString& host, const QString& keyword, int page) {
    QString url =
        HostUrl(host, u"http") + QStringLiteral("/search/") + EncodeKeywordForPath(keyword);
    if (page >= 2) url += u'/' + QString::number(page);
    return url;
}

int MagnetPageCount(QStringView page) {
    const qsizetype i = cut::find(page, kTotalPages);
    if (i == -1) return 0;
    const qsizetype j = cut::find(page, kVisiblePages);
    const QStringView field = cut::first(cut::from(page, i + 12), j - (i + 12));
    if (field.isEmpty()) return 0;
    const qsizetype k = cut::find(field, u",");
    if (k == -1) return 0;
    const int pages = cut::leadingInt(cut::first(field, k));
    return pages < 1 ? 0 : pages;
}

void MagnetSearch(const QString& keyword, const QString& host, DialogPort& dialog,
                  ResultListPort& list, const std::atomic_bool& cancel, HostReport* report) {
    dialog.setText(res::IDC_COUNT, QStringLiteral("共搜到条目：0"));
    // A page's text, its failure told to the report.
    auto fetch = [&](int number, bool used = true) {
        FetchResult result = FetchUrl(MagnetPageUrl(host, keyword, number), &cancel);
        if (report != nullptr && used && !cancel) {
            if (result.error.isEmpty())
                report->Reached();
            else
                report->Failed(host, result.error);
        }
        return result.body;
    };
    QString page = fetch(1);
    const int pages = MagnetPageCount(page);
    if (pages < 1 || cancel) {
        dialog.setEnabled(res::IDC_SEARCH, true);
        return;
    }
    // A page that fails or has no hits does not end the search: later pages may have some.
    const int lastPage = std::min(pages, search_limits::kMaxMagnetPages);
    int row = list.rowCount();
    int pageNumber = 1;
    bool listFull = false;
    for (;;) {
        row = ScrapeMagnetPage(page, row, list, cancel, listFull);
        dialog.setText(res::IDC_COUNT, search_limits::FoundText(row, listFull));
        if (listFull) break;
        ++pageNumber;
        // The page after the last one is requested too; its text is not used.
        page = cancel ? QString() : fetch(pageNumber, pageNumber <= lastPage);
        if (pageNumber > lastPage || cancel) break;
    }
    dialog.setEnabled(res::IDC_SEARCH, true);
}
