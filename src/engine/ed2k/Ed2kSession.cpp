#include "engine/ed2k/Ed2kSession.h"

#include <arpa/inet.h>

#include <algorithm>
#include <new>

#include "engine/ed2k/Ed2kPackets.h"
#include "engine/ed2k/SearchAnswerDecoder.h"

namespace {

using Clock = TcpConnection::Clock;

Clock::time_point After(long milliseconds) {
    return Clock::now() + std::chrono::milliseconds(milliseconds);
}

constexpr std::size_t kAnswerMax = ed2k::kAnswerAreaSize - 1;  // one byte stays zero

}  // namespace

Ed2kSession::Ed2kSession(const Ed2kLimits& limits, const std::atomic_bool* cancel)
    : m_socket(cancel), m_limits(limits) {}

int Ed2kSession::ConnectAndLogin(const char* address, std::int32_t port) {
    const Ed2kLimits& limits = m_limits;
    const auto& login = ed2k::LoginPacket();
    m_serverAddress = sockaddr_in{};
    m_serverAddress.sin_family = AF_INET;
    m_serverAddress.sin_port = htons(static_cast<std::uint16_t>(port & 0xFFFF));
    m_serverAddress.sin_addr.s_addr = inet_addr(address);
    // Not an address (a part above 255, empty text): nothing to connect to.
    if (m_serverAddress.sin_addr.s_addr == INADDR_NONE) {
        m_error = QStringLiteral("not an IPv4 address");
        m_socket.Close();
        return -1;
    }
    if (!m_socket.Connect(m_serverAddress.sin_addr.s_addr, m_serverAddress.sin_port,
                          After(limits.connectMs))) {
        m_error = QString::fromStdString(m_socket.error());
        m_socket.Close();
        return -1;
    }
    m_socket.SendAll(login.data(), login.size(), After(limits.connectMs));
    // The server answers with several packets (message, ID change, status...). Nothing in them
    // decides anything; the search goes out once the ID change is in or the time is up.
    const auto deadline = After(limits.loginMs);
    std::vector<std::uint8_t> packet;
    while (ReadPacket(packet, 65536, deadline)) {
        if (packet.size() >= 6 && ed2k::IsProtocolByte(packet[0]) && packet[5] == ed2k::kOpIdChange)
            break;
    }
    return 0;
}

int Ed2kSession::Search(const QString& keyword) {
    const Ed2kLimits& limits = m_limits;
    const std::vector<std::uint8_t> request = ed2k::SearchRequestPacket(keyword);
    const auto deadline = After(limits.answerMs);
    if (!m_socket.IsOpen() || !m_socket.SendAll(request.data(), request.size(), deadline)) {
        m_error = QStringLiteral("cannot send the search: %1")
                      .arg(QString::fromStdString(m_socket.error()));
        m_socket.Close();
        return -1;
    }
    std::vector<std::uint8_t> answer;
    bool found = false;
    while (!found && ReadPacket(answer, kAnswerMax, deadline)) {
        // Packets before the search result (server messages, status) are passed over.
        found = !ed2k::IsProtocolByte(answer[0]) ||
                (answer.size() >= 6 && answer[5] == ed2k::kOpSearchResult);
    }
    if (!found) {
        m_error = m_socket.error().empty()
                      ? QStringLiteral("closed the connection without a search answer")
                      : QStringLiteral("no search answer: %1")
                            .arg(QString::fromStdString(m_socket.error()));
    } else if (answer.size() < 50) {
        m_error = QStringLiteral("a search answer of %1 bytes").arg(answer.size());
    }
    m_socket.Close();
    m_pending.clear();
    if (!found || answer.size() < 50) return -1;
    try {
        return ed2k::DecodeSearchAnswer(answer.data(), answer.size(), m_results,
                                        &m_completeSources);
    } catch (const std::bad_alloc&) {
        // No memory for the decoding areas: the search failed like any other.
        m_error = QStringLiteral("out of memory");
        m_results.clear();
        m_completeSources.clear();
        return -1;
    }
}

bool Ed2kSession::ReadPacket(std::vector<std::uint8_t>& packet, std::size_t maxSize,
                             Clock::time_point deadline) {
    std::uint8_t chunk[65536];
    for (;;) {
        if (ed2k::TakePacket(m_pending, maxSize, false, packet)) return true;
        const long got = m_socket.Receive(chunk, sizeof chunk, deadline);
        // The peer closed or the time is up: a started frame is taken as it stands.
        if (got <= 0) return ed2k::TakePacket(m_pending, maxSize, true, packet);
        m_pending.insert(m_pending.end(), chunk, chunk + got);
    }
}
