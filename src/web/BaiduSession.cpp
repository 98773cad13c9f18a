#include "web/BaiduSession.h"

#include "web/BaiduAnswers.h"
#include "web/FormEncoding.h"
#include "web/TextCut.h"

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
