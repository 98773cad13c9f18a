// The offline download's exchanges with the Netdisk's cloud_dl service.
#include "web/BaiduAnswers.h"
#include "web/BaiduSession.h"
#include "web/FormEncoding.h"
#include "web/TextCut.h"

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
    return baidu::IsErrorAnswer(m_responseBody);
}

bool BaiduSession::VerificationTest() {
    return baidu::ReadVerificationRequest(m_responseBody, m_vcodeString, m_vcodeImageUrl);
}

int BaiduSession::AddOfflineTask(const QString& link) {
    QString selection;
    if (cut::find(link, u"ed2k") != 0) {
        PostCloudDl(QStringLiteral("method=query_magnetinfo&app_id=250528&source_url=%1&"
                                   "save_path=/&type=4")
                        .arg(EncodeFormValue(link)));
        if (VipTest()) return -5;
        if (ErrorTest()) return -1;
        selection = baidu::ChooseFiles(m_responseBody);
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
