#pragma once

#include <mutex>
#include <string>

#include "HttpHost.h"

namespace devnet {

// Quimb's own service host: hostname.txt, version.txt, emulesvr.txt and the update archive.
// The statistics host is a plain HttpHost answering Statistics.txt.
class ServiceHost : public HttpHost {
public:
    ServiceHost();

    void SetAdAddress(const std::string& address);
    void SetVersion(const std::string& version);
    void SetServerList(const std::string& list);

private:
    std::mutex m_mutex;
    std::string m_adAddress;
    std::string m_version = "2.0.0.5";
    std::string m_serverList;
};

}  // namespace devnet
