#include "ServiceHost.h"

namespace devnet {

ServiceHost::ServiceHost() {
    auto text = [this](const std::string ServiceHost::*field) {
        return [this, field](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(m_mutex);
            response.set_content(this->*field, "text/plain; charset=utf-8");
        };
    };
    m_server.Get("/hostname.txt", text(&ServiceHost::m_adAddress));
    m_server.Get("/version.txt", text(&ServiceHost::m_version));
    m_server.Get("/emulesvr.txt", text(&ServiceHost::m_serverList));
    m_server.Get("/Quimb.7z", [](const httplib::Request&, httplib::Response& response) {
        // The 7z signature and nothing else: enough for a download to be seen.
        response.set_content(std::string("7z\xBC\xAF\x27\x1C", 6), "application/x-7z-compressed");
    });
}

void ServiceHost::SetAdAddress(const std::string& address) {
    std::lock_guard lock(m_mutex);
    m_adAddress = address;
}

void ServiceHost::SetVersion(const std::string& version) {
    std::lock_guard lock(m_mutex);
    m_version = version;
}

void ServiceHost::SetServerList(const std::string& list) {
    std::lock_guard lock(m_mutex);
    m_serverList = list;
}

}  // namespace devnet
