#include "DevNet.h"

namespace devnet {

DevNet::DevNet() {
    m_stats.SetOverride("/Statistics.txt", 200, "1");
}

DevNet::~DevNet() {
    Stop();
}

void DevNet::Start() {
    m_started = true;
    for (auto& server : m_ed2kServers) server->Start();
    PublishServerList();
    m_service.Start();
    m_stats.Start();
    m_magnet.Start();
    m_netdisk.Start();
    m_passport.Start();
    m_vcode.Start();
    m_service.SetAdAddress("http://" + m_service.hostPort() + "/ad.html");
    m_service.SetOverride("/ad.html", 200,
                          "<html><head><meta charset=\"utf-8\"></head><body><h1>Quimb</h1>"
                          "<p>欢迎使用 Quimb 种子搜索器</p></body></html>");
}

void DevNet::Stop() {
    for (auto& server : m_ed2kServers) server->Stop();
    m_magnet.Stop();
    m_netdisk.Stop();
    m_passport.Stop();
    m_vcode.Stop();
    m_stats.Stop();
    m_service.Stop();
}

Ed2kServer& DevNet::AddEd2kServer(const Ed2kServerConfig& config) {
    m_ed2kServers.push_back(std::make_unique<Ed2kServer>(config));
    if (m_started) {
        m_ed2kServers.back()->Start();
        PublishServerList();
    }
    return *m_ed2kServers.back();
}

void DevNet::AddDemoEd2kServers(int count) {
    for (int i = 0; i < count; ++i) {
        Ed2kServerConfig config;
        config.seed = static_cast<std::uint32_t>(i * 11 + 3);
        // Both kinds of server: compact tags (plain or packed) and old-style tags.
        config.dialect = i % 3 == 2 ? Ed2kDialect::OldStyle : Ed2kDialect::Compact;
        config.packed = i % 3 == 1;
        config.segments = i % 4 == 3 ? 4 : 1;
        config.answerDelayMs = 100 + 150 * (i % 4);
        AddEd2kServer(config);
    }
    Ed2kServerConfig refusing;
    refusing.mode = Ed2kMode::Refuse;
    AddEd2kServer(refusing);
}

void DevNet::ListManyServers(int total) {
    m_listedServers = total;
    if (m_started) PublishServerList();
}

void DevNet::PublishServerList() {
    std::string list;
    for (const auto& server : m_ed2kServers) list += server->ListEntry() + "\r\n";
    for (int i = static_cast<int>(m_ed2kServers.size()); i < m_listedServers; ++i)
        list +=
            "svr:127.0.1." + std::to_string(1 + i % 250) + ":" + std::to_string(1 + i) + ";\r\n";
    m_service.SetServerList(list);
}

std::vector<std::uint8_t> DevNet::ServerMet() const {
    std::vector<std::uint8_t> file{0xE0};
    auto put = [&file](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    // Old-style string tags: type 2, a one-byte name, a 16-bit length and the text.
    auto text = [&](std::uint8_t id, const std::string& value) {
        file.insert(file.end(), {0x02, 0x01, 0x00, id});
        put(value.size(), 2);
        file.insert(file.end(), value.begin(), value.end());
    };
    put(m_ed2kServers.size(), 4);
    for (std::size_t i = 0; i < m_ed2kServers.size(); ++i) {
        file.insert(file.end(), {127, 0, 0, 1});
        put(static_cast<std::uint64_t>(m_ed2kServers[i]->port()), 2);
        put(3, 4);  // tags: name, description, and the users as a compact integer
        text(0x01, "devnet eD2k " + std::to_string(i + 1));
        text(0x0B, "simulated server on loopback");
        file.insert(file.end(), {0x89, 0x87, static_cast<std::uint8_t>(i * 7)});
    }
    return file;
}

ServiceHosts DevNet::hosts() const {
    ServiceHosts hosts = ServiceHosts::defaults();
    hosts.service = QString::fromStdString(m_service.hostPort());
    hosts.stats = QString::fromStdString(m_stats.hostPort());
    hosts.magnet = QString::fromStdString(m_magnet.hostPort());
    // The Baidu stand-ins speak plain HTTP, so their settings name the scheme.
    hosts.netdisk = QString::fromStdString("http://" + m_netdisk.hostPort());
    hosts.passport = QString::fromStdString("http://" + m_passport.hostPort());
    hosts.vcode = QString::fromStdString("http://" + m_vcode.hostPort());
    return hosts;
}

std::string DevNet::EnvironmentText() const {
    const ServiceHosts h = hosts();
    std::string text;
    auto line = [&text](const char* name, const QString& value) {
        text += std::string("export ") + name + "=" + value.toStdString() + "\n";
    };
    line("QUIMB_SERVICE_HOST", h.service);
    line("QUIMB_STATS_HOST", h.stats);
    line("QUIMB_MAGNET_HOST", h.magnet);
    line("QUIMB_NETDISK_HOST", h.netdisk);
    line("QUIMB_PASSPORT_HOST", h.passport);
    line("QUIMB_VCODE_HOST", h.vcode);
    return text;
}

}  // namespace devnet
