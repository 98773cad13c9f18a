#include "search/MagnetSearch.h"

#include "platform/DialogPort.h"
#include "platform/ResultListPort.h"
#include "res/ResourceIds.h"
#include "search/KeywordEncoding.h"
#include "web/FetchUrlText.h"
#include "web/TextCut.h"

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

// Cuts every hit out of one page into rows starting at row; returns the next free row.
int ScrapePage(QStringView p, int row, ResultListPort& list) {
    while (cut::find(p, kHitStart) != -1) {
        p = cut::from(p, cut::find(p, kHitStart) + kHitStart.size());
        const qsizetype nameEnd = cut::find(p, kNameEnd);
        QString name = cut::first(p, nameEnd).toString();
        p = cut::from(p, nameEnd);
        name.remove(kHighlightOpen);
        name.remove(kSpanClose);
        list.insertRow(row, QStringLiteral(" "));
        list.setCell(row, 0, name);

        p = cut::from(p, cut::find(p, kSizeLabel) + 4);
        p = cut::from(p, cut::find(p, kTagEnd) + 2);
        list.setCell(row, 1, cut::first(p, cut::find(p, kSpanClose)).toString());

        p = cut::from(p, cut::find(p, kMagnetStart) + 9);
        list.setCell(row, 3, cut::first(p, cut::find(p, kMagnetEnd)).toString());
        ++row;
    }
    return row;
}

}  // namespace

QString MagnetPageUrl(const QString& host, const QString& keyword, int page) {
    QString url = QStringLiteral("http://") + host + QStringLiteral("/search/") +
                  EncodeKeywordForPath(keyword);
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
                  ResultListPort& list, const std::atomic_bool& cancel) {
    dialog.setText(res::IDC_COUNT, QStringLiteral("共搜到条目：0"));
    QString page = FetchUrlText(MagnetPageUrl(host, keyword, 1), &cancel);
    const int pages = MagnetPageCount(page);
    if (pages < 1 || cancel) {
        dialog.setEnabled(res::IDC_SEARCH, true);
        return;
    }
    int row = list.rowCount();
    int pageNumber = 1;
    for (;;) {
        row = ScrapePage(page, row, list);
        dialog.setText(res::IDC_COUNT, QStringLiteral("共搜到：%1").arg(row));
        ++pageNumber;
        // The page after the last one is requested too; its text is not used.
        page = cancel ? QString() : FetchUrlText(MagnetPageUrl(host, keyword, pageNumber), &cancel);
        if (pageNumber > pages || cancel) break;
    }
    dialog.setEnabled(res::IDC_SEARCH, true);
}
