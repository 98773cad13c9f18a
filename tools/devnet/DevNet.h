#pragma once

#include <memory>
#include <string>
#include <vector>

#include "HttpHost.h"
#include "MagnetSite.h"
#include "ServiceHost.h"
#include "platform/ServiceHosts.h"

namespace devnet {

// The whole simulated network on loopback: Quimb's service and statistics hosts and the magnet
// site. Started in-process by tests and benchmarks, or by the quimb-devnet program.
class DevNet {
public:
    DevNet();
    ~DevNet();

    void Start();
    void Stop();

    // The host settings that point the program at this network.
    ServiceHosts hosts() const;
    // "export QUIMB_..._HOST=..." lines for a shell.
    std::string EnvironmentText() const;

    ServiceHost m_service;
    HttpHost m_stats;
    MagnetSite m_magnet;
};

}  // namespace devnet
