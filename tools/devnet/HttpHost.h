#pragma once

#include <httplib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace devnet {

// One simulated web host on 127.0.0.1 with an ephemeral port. Records every request target
// and can be told to answer any path with a fixed status and body.
class HttpHost {
public:
    HttpHost();
    virtual ~HttpHost();
    HttpHost(const HttpHost&) = delete;
    HttpHost& operator=(const HttpHost&) = delete;

    // Binds and starts serving; handlers must be registered before.
    void Start();
    void Stop();

    int port() const { return m_port; }
    // False once Stop has begun: streaming answers end then.
    bool running() const { return !m_stopping; }
    // "127.0.0.1:PORT", the form the QUIMB_*_HOST variables take.
    std::string hostPort() const;

    // Answers path (exact target, query included) with status and body from now on.
    void SetOverride(const std::string& target, int status, const std::string& body,
                     const std::string& setCookie = {});
    void ClearOverrides();
    // Answers target (status 200) with chunk after chunk, pauseMs apart, for ever (until the
    // client goes or the host stops): an endless body, or with a one-byte chunk and a pause, a
    // trickle.
    void SetEndless(const std::string& target, const std::string& chunk, int pauseMs);

    std::vector<std::string> requests() const;  // targets in arrival order
    void ClearRequests();

protected:
    httplib::Server m_server;

private:
    int m_port = 0;
    std::atomic_bool m_stopping{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    struct Override {
        int status;
        std::string body;
        std::string setCookie;
        bool endless = false;
        int pauseMs = 0;
    };
    std::map<std::string, Override> m_overrides;
};

}  // namespace devnet
