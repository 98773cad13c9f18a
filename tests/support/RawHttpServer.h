#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A minimal HTTP server on 127.0.0.1 for tests that must see the request bytes exactly as they
// were sent, or control how the answer is cut into pieces on the wire.
class RawHttpServer {
public:
    struct Piece {
        std::string bytes;
        std::chrono::milliseconds pauseBefore{0};
    };

    RawHttpServer();
    ~RawHttpServer();

    int port() const { return m_port; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(m_port); }

    // The answer for every following connection, sent piece by piece, then the socket closes.
    void SetResponse(std::vector<Piece> pieces);
    void SetResponse(const std::string& whole) { SetResponse({Piece{whole, {}}}); }
    // Raw bytes of every request received (head and body).
    std::vector<std::string> requests();

private:
    void Serve();

    int m_listen = -1;
    int m_port = 0;
    std::atomic_bool m_stop{false};
    std::mutex m_mutex;
    std::vector<Piece> m_pieces;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
