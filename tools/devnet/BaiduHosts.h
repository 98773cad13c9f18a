#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "HttpHost.h"

namespace devnet {

// The value of key in an application/x-www-form-urlencoded body, decoded as a server decodes
// it ("+" a space, %XX a byte).
std::string FormValue(const std::string& body, const std::string& key);

// One request as a Baidu host received it: what the tests compare with the documented forms.
struct BaiduRequest {
    std::string method;
    std::string target;
    std::string body;
    bool hasCookie = false;
    std::string cookie;
};

// A host that keeps the request log of the Baidu doubles.
class RecordingHost : public HttpHost {
public:
    std::vector<BaiduRequest> log() const;
    void ClearLog();

protected:
    void Record(const httplib::Request& request);

private:
    mutable std::mutex m_logMutex;
    std::vector<BaiduRequest> m_log;
};

// The Netdisk: the root document sets BAIDUID; cloud_dl answers query_magnetinfo with a file
// list and add_task with a task, a verification request, or a vip refusal.
class NetdiskHost : public RecordingHost {
public:
    NetdiskHost();

    static constexpr const char* kBaiduId = "0F1E2D3C4B5A69788796A5B4C3D2E1F0:FG=1";

    // The files query_magnetinfo lists for any link.
    void SetFileNames(std::vector<std::string> names);
    // The next add_task without a code is answered with "vcode is needed".
    void AskCodeOnNextTask(const std::string& vcodeHost);
    // Every cloud_dl answer mentions vip.
    void SetVip(bool vip);

private:
    std::string CloudDl(const httplib::Request& request);

    std::mutex m_mutex;
    std::vector<std::string> m_fileNames{"movie.mkv"};
    std::string m_askCodeHost;
    bool m_vip = false;
};

// The passport: getapi hands out a token, login checks the fixed test account and answers with
// BDUSS, a wrong-password error, or error=257 with a codestring; the root document shows the
// display name to a BDUSS cookie.
class PassportHost : public RecordingHost {
public:
    PassportHost();

    static constexpr const char* kUserName = "quimb";
    static constexpr const char* kPassword = "s3cret";
    static constexpr const char* kToken = "5c1e7f0a9b2d4c6e8f00112233445566";
    static constexpr const char* kBduss = "BDUSS-OF-THE-TEST-ACCOUNT";
    static constexpr const char* kCodeString = "jxG5a0f4c3b2a1";
    static constexpr const char* kVerifyCode = "Q7K3";
    static constexpr const char* kDisplayName = "快乐的测试员";

    // The next login without the right code is answered with error=257.
    void AskCodeOnNextLogin();
    // The test account's password from now on (kPassword until then).
    void SetPassword(const std::string& password);

private:
    std::string Login(const httplib::Request& request, httplib::Response& response);

    std::mutex m_mutex;
    bool m_askCode = false;
    std::string m_password = kPassword;
};

// The verification-image host: /cgi-bin/genimage?CODE serves a small GIF.
class VcodeHost : public RecordingHost {
public:
    VcodeHost();
};

}  // namespace devnet
