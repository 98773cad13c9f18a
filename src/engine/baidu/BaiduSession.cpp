#include "engine/baidu/BaiduSession.h"

#include "engine/baidu/BaiduAnswers.h"
#include "engine/text/FormEncoding.h"
#include "engine/text/TextCut.h"

using baidu::CutValue;

QString BaiduSession::Host(const QString& setting) {
    // Baidu's hosts carry the password and the session: HTTPS unless the setting says otherwise.
    return HostUrl(setting, u"https");
}

int BaiduSession::SetCredentials(const QString& userName, const QString& password) {
    if (userName.isEmpty() || password.isEmpty()) return -1;
    m_userName = userName;
    m_password = password;
    m_hasCredentials = true;
    return 0;
}

int BaiduSession::Login() {
    if (!m_vcodeImageUrl.isEmpty() || !m_vcodeString.isEmpty()) {
        // A pending verification: the token and cookie of the last normal attempt are reused.
        m_host = Host(m_hosts.passport);
        m_path = QStringLiteral("/v2/api/?login");
        m_formData = QStringLiteral(
                         "charset=utf-8&mem_pass=on&token=%1&tpl=mn&username=%2&"
                         "password=%3&codestring=%4&verifycode=%5")
                         .arg(EncodeFormValue(m_token), EncodeFormValue(m_userName),
                              EncodeFormValue(m_password), EncodeFormValue(m_codeString),
                              EncodeFormValue(m_verifyCode));
        PostForm();
        m_vcodeImageUrl.clear();
        m_vcodeString.clear();
    } else {
        if (!m_hasCredentials) return -1;
        m_path.clear();
        m_host = Host(m_hosts.netdisk);
        Get();
        // The cut works in the session cookie itself: it keeps the text after "BAIDUID=" until
        // a successful login replaces it.
        m_sessionCookie =
            cut::from(m_responseCookies, cut::find(m_responseCookies, u"BAIDUID") + 8).toString();
        m_baiduId = cut::first(m_sessionCookie, cut::find(m_sessionCookie, u";")).toString();
        m_cookie = m_responseCookies;

        m_host = Host(m_hosts.passport);
        m_path = QStringLiteral("/v2/api/?getapi&class=login&tpl=mn&tangram=true");
        Get();
        m_token = CutValue(m_responseBody, u"_token='", 8, u"';");

        m_host = Host(m_hosts.passport);
        m_path = QStringLiteral("/v2/api/?login");
        m_formData = QStringLiteral(
                         "charset=utf-8&mem_pass=on&token=%1&tpl=mn&username=%2&"
                         "password=%3&codestring=&verifycode=")
                         .arg(EncodeFormValue(m_token), EncodeFormValue(m_userName),
                              EncodeFormValue(m_password));
        PostForm();
    }
    if (m_responseCookies.contains(u"BDUSS")) {
        m_bduss = CutValue(m_responseCookies, u"BDUSS", 6, u";");
        m_sessionCookie = QStringLiteral("BAIDUID=%1;BDUSS=%2").arg(m_baiduId, m_bduss);
        return 0;
    }
    if (m_responseBody.contains(u"error=257")) {
        m_codeString = CutValue(m_responseBody, u"codestring", 11, u"&");
        m_vcodeImageUrl =
            HostUrl(m_hosts.vcode, u"https") + QStringLiteral("/cgi-bin/genimage?") + m_codeString;
        return 403;
    }
    return -1;
}

QString BaiduSession::FetchDisplayName() {
    m_host = Host(m_hosts.passport);
    m_cookie = m_sessionCookie;
    m_path.clear();
    m_formData.clear();
    Get();
    m_displayName = baidu::DisplayNameOf(m_responseBody);
    return m_displayName;
}

// The offline download: tasks for the Netdisk's cloud_dl service.

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
