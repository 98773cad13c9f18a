#include "engine/baidu/BaiduAnswers.h"

#include "engine/text/TextCut.h"

namespace baidu {

namespace {

// Everything before the first "," of text, empty when there is none.
QStringView UpToComma(QStringView text) {
    return cut::first(text, cut::find(text, u","));
}

}  // namespace

QString CutValue(const QString& text, QStringView start, qsizetype offset, QStringView end) {
    const QStringView rest = cut::from(text, cut::find(text, start) + offset);
    return cut::first(rest, cut::find(rest, end)).toString();
}

QString DisplayNameOf(const QString& page) {
    qsizetype start = 0;
    const qsizetype marker = cut::find(page, u"displayUsername");
    if (marker >= 0) {
        const qsizetype close = page.indexOf(u'>', marker);
        if (close >= 0) start = close + 1;
    }
    const QStringView rest = cut::from(page, start);
    return cut::first(rest, cut::find(rest, u"<")).toString();
}

QString ChooseFiles(const QString& fileList) {
    // "mkv" with its closing quote is four characters; the numbers join with an escaped comma,
    // so the selection goes into the form as it is.
    QString selection;
    QStringView rest = fileList;
    for (int k = 1;; ++k) {
        const qsizetype key = cut::find(rest, u"file_name");
        if (key < 0) break;
        rest = cut::from(rest, key + 12);
        QStringView ext = UpToComma(rest);
        for (qsizetype dot = ext.indexOf(u'.'); dot >= 0; dot = ext.indexOf(u'.'))
            ext = ext.sliced(dot + 1);
        if (ext.size() <= 4) selection += QStringLiteral("%2C") + QString::number(k);
    }
    selection = cut::from(selection, 3).toString();
    return selection.isEmpty() ? QStringLiteral("1") : selection;
}

bool IsErrorAnswer(const QString& body) {
    const qsizetype key = cut::find(body, u"error_code");
    if (key < 0) return false;
    return !UpToComma(cut::from(body, key + 12)).isEmpty();
}

bool ReadVerificationRequest(const QString& body, QString& vcodeString, QString& imageUrl) {
    if (!body.contains(u"vcode is needed")) return false;
    QStringView rest = cut::from(body, cut::find(body, u"vcode") + 8);
    // The character before the comma is the value's closing quote.
    vcodeString = cut::first(rest, cut::find(rest, u",") - 1).toString();
    const qsizetype http = cut::find(rest, u"http");
    if (http >= 0) rest = rest.sliced(http);
    imageUrl = cut::first(rest, cut::find(rest, u",") - 1).toString();
    imageUrl.remove(u'\\');
    return true;
}

}  // namespace baidu
