#pragma once

#include <QString>

#include "engine/net/HttpClient.h"
#include "engine/settings/ServiceHosts.h"

// The Baidu account of the main window: the HttpClient with the login fields. Login fetches the
// BAIDUID cookie and a token, posts the form, and tells success (BDUSS), a verification request
// (error=257) and failure apart. The offline download adds tasks with the same fields.
// Every operation blocks until its exchanges are done; HttpError leaves them unhandled.
class BaiduSession : public HttpClient {
public:
    BaiduSession() = default;
    explicit BaiduSession(ServiceHosts hosts) : m_hosts(std::move(hosts)) {}

    // 0 when both texts are non-empty (they are stored), -1 otherwise (nothing changes).
    int SetCredentials(const QString& userName, const QString& password);
    // 0 logged in, 403 verification code needed (m_vcodeImageUrl set), -1 failed.
    int Login();
    QString FetchDisplayName();
    void SetVerifyCode(const QString& code) { m_verifyCode = code; }

    // Sends link to the Netdisk's offline download: 0 added, -1 error answer, -5 "vip" answer,
    // 403 verification code needed (m_vcodeString and m_vcodeImageUrl set).
    int AddOfflineTask(const QString& link);
    // The add-task request again with m_verifyCode and m_vcodeString.
    int RetryOfflineTask(const QString& link);

    QString m_userName;
    QString m_password;
    QString m_vcodeString;
    QString m_vcodeImageUrl;
    QString m_codeString;
    QString m_verifyCode;
    QString m_token;
    QString m_baiduId;
    QString m_bduss;
    QString m_sessionCookie;
    QString m_displayName;
    QString m_selectedIdx;
    bool m_hasCredentials = false;

private:
    // The address of a Baidu host setting.
    static QString Host(const QString& setting);
    // The offline-download request: cookie, host, cloud_dl path and form, then PostForm.
    void PostCloudDl(const QString& form);
    bool VipTest() const;
    bool ErrorTest() const;
    bool VerificationTest();

    ServiceHosts m_hosts = ServiceHosts::defaults();
};
