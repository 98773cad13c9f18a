#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BaiduHosts.h"
#include "Ed2kServer.h"
#include "HttpHost.h"
#include "MagnetSite.h"
#include "ServiceHost.h"
#include "engine/settings/ServiceHosts.h"

namespace devnet {

// The whole simulated network on loopback: Quimb's service and statistics hosts, the Baidu
// Netdisk, passport and verification-image hosts (test account quimb / s3cret), and the magnet
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
    // The eD2k servers as a server.met file, with a name and a description for each.
    std::vector<std::uint8_t> ServerMet() const;

    // Adds an eD2k server (started at once when the network runs) and lists it in
    // emulesvr.txt.
    Ed2kServer& AddEd2kServer(const Ed2kServerConfig& config);
    // emulesvr.txt lists this many servers in all: the simulated ones, then addresses on
    // loopback where nothing listens.
    void ListManyServers(int total);
    // A mix for the demo: count answering servers (compact tags, some packed; old-style tags;
    // some answers in pieces), plus one that refuses connections.
    void AddDemoEd2kServers(int count);

    ServiceHost m_service;
    HttpHost m_stats;
    MagnetSite m_magnet;
    NetdiskHost m_netdisk;
    PassportHost m_passport;
    VcodeHost m_vcode;
    std::vector<std::unique_ptr<Ed2kServer>> m_ed2kServers;

private:
    void PublishServerList();
    bool m_started = false;
    int m_listedServers = 0;
};

}  // namespace devnet
