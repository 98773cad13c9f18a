#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Ed2kAnswer.h"

namespace devnet {

// How a simulated eD2k server behaves towards a client.
enum class Ed2kMode {
    Normal,       // login replies, then the search answer
    Refuse,       // nothing listens on the port
    Silent,       // accepts and never says anything
    CloseAtOnce,  // accepts and closes
    NoHits,       // answers the search with zero results
    Garbage,      // answers the search with bytes that are no eD2k packet
    // Hostile answers:
    NamelessRecords,  // 1 MiB: one named record, then records without a name
    TinyRecords,      // as many one-letter results as the bytes hold (packed: past 2 MiB)
    ZlibBomb,         // packed, inflates to 100 MiB
    HugeFrame,        // a frame announcing 4 GiB, then 3 MiB of tiny records and zeros
};

struct Ed2kServerConfig {
    Ed2kMode mode = Ed2kMode::Normal;
    Ed2kDialect dialect = Ed2kDialect::Compact;
    bool packed = false;      // zlib-packed answer (compact only)
    int hits = -1;            // results per answer; -1: 5 to 40, chosen per server
    int answerDelayMs = 0;    // between the search request and the answer
    int segments = 1;         // the answer written in this many pieces
    int segmentPauseMs = 20;  // pause between pieces
    std::uint32_t seed = 1;   // which files of the keyword's pool this server lists
};

// One eD2k server on 127.0.0.1 with an ephemeral port.
class Ed2kServer {
public:
    explicit Ed2kServer(Ed2kServerConfig config);
    ~Ed2kServer();
    Ed2kServer(const Ed2kServer&) = delete;
    Ed2kServer& operator=(const Ed2kServer&) = delete;

    void Start();
    void Stop();
    int port() const { return m_port; }
    // Its entry in a server list: "svr:127.0.0.1:PORT;".
    std::string ListEntry() const;
    // Keywords of the search requests received, UTF-8.
    std::vector<std::string> keywords();
    int connections() const { return m_connections; }
    // When this server last began to write the last piece of a search answer (epoch when it
    // never did).
    std::chrono::steady_clock::time_point lastAnswerSent();

private:
    void AcceptLoop();
    void Serve(int connection);
    void SendLoginReplies(int connection);
    void AnswerSearch(int connection, const std::vector<std::uint8_t>& request);

    Ed2kServerConfig m_config;
    int m_listen = -1;
    int m_port = 0;
    std::atomic_bool m_stop{false};
    std::atomic_int m_connections{0};
    std::thread m_acceptThread;
    std::mutex m_mutex;
    std::vector<std::thread> m_connectionThreads;
    std::vector<std::string> m_keywords;
    std::chrono::steady_clock::time_point m_lastAnswerSent{};
};

}  // namespace devnet
