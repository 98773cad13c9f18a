#pragma once

#include <netinet/in.h>

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/net/TcpConnection.h"

// Time limits of one server exchange: a silent server delays a search by at most these.
struct Ed2kLimits {
    long connectMs = 5000;
    long loginMs = 3000;    // waiting for the server's ID change after the login
    long answerMs = 10000;  // from sending the search to the whole answer
};

// One server exchange: connect and log in, send one search, read the answer, decode it.
class Ed2kSession {
public:
    explicit Ed2kSession(const Ed2kLimits& limits = {}, const std::atomic_bool* cancel = nullptr);

    // address: dotted IPv4 text; port: its low 16 bits are used. 0 when the connection is
    // open and the login sent, -1 when no connection could be made (the socket is closed).
    int ConnectAndLogin(const char* address, std::int32_t port);
    // -1 when the exchange failed, else the decoder's value (positive: results waiting).
    // The connection is closed on return.
    int Search(const QString& keyword);

    QString m_error;        // why ConnectAndLogin or Search failed
    QStringList m_results;  // four texts per result: name, size, sources, link
    std::vector<std::uint32_t> m_completeSources;  // one per result, kept for later use
    TcpConnection m_socket;
    sockaddr_in m_serverAddress{};

private:
    // Reads the next whole packet (frame header included) into packet, at most maxSize bytes.
    // Returns false on close, error, time-out or cancel. A stream that does not start with a
    // known protocol byte is returned as it stands (one packet of whatever has arrived).
    bool ReadPacket(std::vector<std::uint8_t>& packet, std::size_t maxSize,
                    TcpConnection::Clock::time_point deadline);

    Ed2kLimits m_limits;
    std::vector<std::uint8_t> m_pending;  // received bytes not yet taken as a packet
};
