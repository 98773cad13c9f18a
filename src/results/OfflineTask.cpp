// The offline download's exchanges with the Netdisk's cloud_dl service.
#include "web/BaiduSession.h"
#include "web/FormEncoding.h"
#include "web/TextCut.h"

namespace {

// Everything before the first "," of text, empty when there is none.
QStringView UpToComma(QStringView text) {
    return cut::first(text, cut::find(text, u","));
}

// Names whose extension has at most three characters are taken ("mkv" with its closing quote
// is four); the numbers join with an escaped comma.
QString ChooseFiles(const QString& fileList) {
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

}  // namespace

void BaiduSession::PostCloudDl(const QString& form) {
    m_cookie = m_sessionCookie;
    m_host = Host(m_hosts.netdisk);
    m_path = QStringLiteral(
                 "/rest/2.0/services/cloud_dl?bdstoken=%1&bdstoken=%1&channel=chunlei&"
                 "clienttype=0&web=1&app_id=250528")
                 .arg(m_token);
    m_formData = form;
    PostForm();
}

bool BaiduSession::VipTest() const {
    // "vip" at the very start of the cookie text does not count.
    return m_responseBody.contains(u"vip") || m_responseCookies.indexOf(u"vip") > 0;
}

bool BaiduSession::ErrorTest() const {
    const qsizetype key = cut::find(m_responseBody, u"error_code");
    if (key < 0) return false;
    return !UpToComma(cut::from(m_responseBody, key + 12)).isEmpty();
}

bool BaiduSession::VerificationTest() {
    if (!m_responseBody.contains(u"vcode is needed")) return false;
    QStringView rest = cut::from(m_responseBody, cut::find(m_responseBody, u"vcode") + 8);
    // The character before the comma is the value's closing quote.
    m_vcodeString = cut::first(rest, cut::find(rest, u",") - 1).toString();
    const qsizetype http = cut::find(rest, u"http");
    if (http >= 0) rest = rest.sliced(http);
    m_vcodeImageUrl = cut::first(rest, cut::find(rest, u",") - 1).toString();
    m_vcodeImageUrl.remove(u'\\');
    return true;
}

int BaiduSession::AddOfflineTask(const QString& link) {
    QString selection;
    if (cut::find(link, u"ed2k") != 0) {
        PostCloudDl(QStringLiteral("method=query_magnetinfo&app_id=250528&source_url=%1&"
                                   "save_path=/&type=4")
                        .arg(EncodeFormValue(link)));
        if (VipTest()) return -5;
        if (ErrorTest()) return -1;
        selection = ChooseFiles(m_responseBody);
    }
    m_selectedIdx = selection;
    PostCloudDl(QStringLiteral("method=add_task&app_id=250528&file_sha1=&save_path=/&"
                               "selected_idx=%1&task_from=1&t=1443970187708&source_url=%2&type=4")
                    .arg(selection, EncodeFormValue(link)));
    if (VerificationTest()) return 403;
    if (ErrorTest()) return -1;
    return 0;
}

int BaiduSession::RetryOfflineTask(const QString& link) {
    PostCloudDl(QStringLiteral("method=add_task&app_id=250528&file_sha1=&save_path=/&"
                               "selected_idx=%1&task_from=1&t=1443970187708&source_url=%2&type=4&"
                               "input=%3&vcode=%4")
                    .arg(m_selectedIdx, EncodeFormValue(link), EncodeFormValue(m_verifyCode),
                         EncodeFormValue(m_vcodeString)));
    if (VipTest()) return -5;
    if (VerificationTest()) return 403;
    if (ErrorTest()) return -1;
    return 0;
}
