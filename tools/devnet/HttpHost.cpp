#include "HttpHost.h"

#include <chrono>
#include <stdexcept>

namespace devnet {

HttpHost::HttpHost() {
    m_server.set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request.target);
            const auto it = m_overrides.find(request.target);
            if (it == m_overrides.end()) return httplib::Server::HandlerResponse::Unhandled;
            response.status = it->second.status;
            if (!it->second.setCookie.empty())
                response.set_header("Set-Cookie", it->second.setCookie);
            if (it->second.endless) {
                const std::string chunk = it->second.body;
                const int pauseMs = it->second.pauseMs;
                response.set_chunked_content_provider(
                    "text/html; charset=utf-8",
                    [this, chunk, pauseMs](std::size_t, httplib::DataSink& sink) {
                        if (pauseMs > 0)
                            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
                        return !m_stopping && sink.write(chunk.data(), chunk.size());
                    });
            } else {
                response.set_content(it->second.body, "text/html; charset=utf-8");
            }
            return httplib::Server::HandlerResponse::Handled;
        });
}

HttpHost::~HttpHost() {
    Stop();
}

void HttpHost::Start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0) throw std::runtime_error("devnet: cannot bind a port on 127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpHost::Stop() {
    if (!m_thread.joinable()) return;
    m_stopping = true;
    m_server.stop();
    m_thread.join();
}

std::string HttpHost::hostPort() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

void HttpHost::SetOverride(const std::string& target, int status, const std::string& body,
                           const std::string& setCookie) {
    std::lock_guard lock(m_mutex);
    m_overrides[target] = {status, body, setCookie};
}

void HttpHost::SetEndless(const std::string& target, const std::string& chunk, int pauseMs) {
    std::lock_guard lock(m_mutex);
    m_overrides[target] = {200, chunk, {}, true, pauseMs};
}

void HttpHost::ClearOverrides() {
    std::lock_guard lock(m_mutex);
    m_overrides.clear();
}

std::vector<std::string> HttpHost::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void HttpHost::ClearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

}  // namespace devnet
