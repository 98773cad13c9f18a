#include "BaiduHosts.h"

#include "VcodeGif.h"

namespace devnet {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A form value as a server reads it: "+" is a space, %XX a byte; a "%" without two hex digits
// stays as it is.
std::string FormDecode(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            out += ' ';
        } else if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
                   HexValue(value[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

}  // namespace

std::string FormValue(const std::string& body, const std::string& key) {
    const std::string needle = key + "=";
    std::size_t at = 0;
    while ((at = body.find(needle, at)) != std::string::npos) {
        if (at == 0 || body[at - 1] == '&') {
            const std::size_t start = at + needle.size();
            const std::size_t end = body.find('&', start);
            return FormDecode(
                body.substr(start, end == std::string::npos ? std::string::npos : end - start));
        }
        at += needle.size();
    }
    return {};
}

std::vector<BaiduRequest> RecordingHost::log() const {
    std::lock_guard lock(m_logMutex);
    return m_log;
}

void RecordingHost::ClearLog() {
    std::lock_guard lock(m_logMutex);
    m_log.clear();
}

void RecordingHost::Record(const httplib::Request& request) {
    std::lock_guard lock(m_logMutex);
    m_log.push_back({request.method, request.target, request.body, request.has_header("Cookie"),
                     request.get_header_value("Cookie")});
}

NetdiskHost::NetdiskHost() {
    m_server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
        Record(request);
        response.set_header("Set-Cookie", std::string("BAIDUID=") + kBaiduId +
                                              "; expires=Thu, 31-Dec-37 23:55:55 GMT; "
                                              "max-age=2147483647; path=/; domain=.baidu.com");
        response.set_content("<html><body>netdisk</body></html>", "text/html; charset=utf-8");
    });
    m_server.Post("/rest/2.0/services/cloud_dl",
                  [this](const httplib::Request& request, httplib::Response& response) {
                      Record(request);
                      response.set_content(CloudDl(request), "application/json; charset=utf-8");
                  });
}

void NetdiskHost::SetFileNames(std::vector<std::string> names) {
    std::lock_guard lock(m_mutex);
    m_fileNames = std::move(names);
}

void NetdiskHost::AskCodeOnNextTask(const std::string& vcodeHost) {
    std::lock_guard lock(m_mutex);
    m_askCodeHost = vcodeHost;
}

void NetdiskHost::SetVip(bool vip) {
    std::lock_guard lock(m_mutex);
    m_vip = vip;
}

std::string NetdiskHost::CloudDl(const httplib::Request& request) {
    std::lock_guard lock(m_mutex);
    if (request.get_header_value("Cookie").find("BDUSS=") == std::string::npos)
        return R"({"error_code":-6,"error_msg":"not logged in","request_id":1})";
    if (m_vip)
        return R"({"error_code":36000,"error_msg":"offline tasks need a vip account","request_id":2})";
    const std::string method = FormValue(request.body, "method");
    if (method == "query_magnetinfo") {
        std::string files;
        for (const std::string& name : m_fileNames) {
            if (!files.empty()) files += ",";
            files += R"({"file_name":")" + name + R"(","size":"734003200"})";
        }
        return R"({"magnet_info":[)" + files + R"(],"total":)" +
               std::to_string(m_fileNames.size()) + R"(,"request_id":3})";
    }
    if (method == "add_task") {
        if (!m_askCodeHost.empty() && FormValue(request.body, "input").empty() &&
            request.body.find("&vcode=") == std::string::npos) {
            const std::string host = m_askCodeHost;
            m_askCodeHost.clear();
            return R"({"error_code":-19,"vcode":"3a1b2c3d4e","img":"http:\/\/)" + host +
                   R"(\/cgi-bin\/genimage?3a1b2c3d4e","error_msg":"vcode is needed","request_id":4})";
        }
        return R"({"task_id":702934162,"rapid_download":0,"request_id":5})";
    }
    return R"({"error_code":2,"error_msg":"unknown method","request_id":6})";
}

PassportHost::PassportHost() {
    m_server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
        Record(request);
        const bool loggedIn = request.get_header_value("Cookie").find(std::string("BDUSS=") +
                                                                      kBduss) != std::string::npos;
        std::string page = "<html><head><title>百度帐号</title></head><body>";
        if (loggedIn)
            page += std::string("<span class=\"displayUsername\" title=\"\">") + kDisplayName +
                    "</span>";
        page += "</body></html>";
        response.set_content(page, "text/html; charset=utf-8");
    });
    m_server.Get("/v2/api/", [this](const httplib::Request& request, httplib::Response& response) {
        Record(request);
        response.set_content(
            std::string("var bdPass=bdPass||{};\nbdPass.api.params.login_token='") + kToken +
                "';\nbdPass.api.params.login_tpl='mn';\n",
            "text/html; charset=utf-8");
    });
    m_server.Post("/v2/api/", [this](const httplib::Request& request, httplib::Response& response) {
        Record(request);
        response.set_content(Login(request, response), "text/html; charset=utf-8");
    });
}

void PassportHost::SetPassword(const std::string& password) {
    std::lock_guard lock(m_mutex);
    m_password = password;
}

void PassportHost::AskCodeOnNextLogin() {
    std::lock_guard lock(m_mutex);
    m_askCode = true;
}

std::string PassportHost::Login(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(m_mutex);
    const std::string body = request.body;
    const auto redirect = [](const std::string& query) {
        return "<script>var href = \"http://www.baidu.com/cache/user/html/jump.html?callback=" +
               query + "\";</script>";
    };
    if (FormValue(body, "token") != kToken) return redirect("parent.bd__pcbs__x&err_no=-1&");
    if (m_askCode) {
        if (FormValue(body, "codestring") != kCodeString ||
            FormValue(body, "verifycode") != kVerifyCode)
            return redirect(std::string("parent.bd__pcbs__x&error=257&codestring=") + kCodeString +
                            "&username=" + FormValue(body, "username") + "&");
        m_askCode = false;
    }
    if (FormValue(body, "username") != kUserName || FormValue(body, "password") != m_password)
        return redirect("parent.bd__pcbs__x&err_no=4&errmsg=wrong+password&");
    response.set_header("Set-Cookie", std::string("BDUSS=") + kBduss +
                                          "; expires=Sat, 01-Jan-2033 00:00:00 GMT; path=/; "
                                          "domain=baidu.com; httponly");
    return redirect("parent.bd__pcbs__x&err_no=0&");
}

VcodeHost::VcodeHost() {
    m_server.Get("/cgi-bin/genimage",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     Record(request);
                     response.set_content(VcodeGif(), "image/gif");
                 });
}

}  // namespace devnet
