#include "DevNet.h"

namespace devnet {

DevNet::DevNet() {
    m_stats.SetOverride("/Statistics.txt", 200, "1");
}

DevNet::~DevNet() { Stop(); }

void DevNet::Start() {
    m_service.Start();
    m_stats.Start();
    m_magnet.Start();
    m_service.SetAdAddress("http://" + m_service.hostPort() + "/ad.html");
    m_service.SetOverride("/ad.html", 200,
                          "<html><head><meta charset=\"utf-8\"></head><body><h1>Quimb</h1>"
                          "<p>欢迎使用 Quimb 种子搜索器</p></body></html>");
}

void DevNet::Stop() {
    m_magnet.Stop();
    m_stats.Stop();
    m_service.Stop();
}

ServiceHosts DevNet::hosts() const {
    ServiceHosts hosts = ServiceHosts::defaults();
    hosts.service = QString::fromStdString(m_service.hostPort());
    hosts.stats = QString::fromStdString(m_stats.hostPort());
    hosts.magnet = QString::fromStdString(m_magnet.hostPort());
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
    return text;
}

}  // namespace devnet
