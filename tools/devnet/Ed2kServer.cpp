#include "Ed2kServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "Ed2kAnswer.h"

namespace devnet {

namespace {

using std::chrono::milliseconds;

// Reads one frame (header and body); false on close, error, time-out or stop.
bool ReadFrame(int fd, const std::atomic_bool& stop, std::vector<std::uint8_t>& frame) {
    frame.clear();
    std::size_t wanted = 5;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (frame.size() < wanted) {
        if (stop || std::chrono::steady_clock::now() > deadline) return false;
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, 50) <= 0) continue;
        std::uint8_t buffer[4096];
        const ssize_t got = ::recv(fd, buffer, std::min(sizeof buffer, wanted - frame.size()), 0);
        if (got <= 0) return false;
        frame.insert(frame.end(), buffer, buffer + got);
        if (frame.size() == 5 && wanted == 5) {
            const std::uint32_t length = frame[1] | (frame[2] << 8) | (frame[3] << 16) |
                                         (static_cast<std::uint32_t>(frame[4]) << 24);
            if (length > (1u << 20)) return false;
            wanted = 5 + length;
        }
    }
    return true;
}

void SendBytes(int fd, const std::vector<std::uint8_t>& bytes) {
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void Pause(const std::atomic_bool& stop, int ms) {
    const auto end = std::chrono::steady_clock::now() + milliseconds(ms);
    while (!stop && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(milliseconds(5));
}

}  // namespace

Ed2kServer::Ed2kServer(Ed2kServerConfig config) : m_config(config) {}

Ed2kServer::~Ed2kServer() {
    Stop();
}

void Ed2kServer::Start() {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("devnet: cannot bind an eD2k port");
    socklen_t length = sizeof address;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    if (m_config.mode == Ed2kMode::Refuse) {
        // Bound but never listening: connections to the port are refused.
        return;
    }
    ::listen(m_listen, 64);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

void Ed2kServer::Stop() {
    m_stop = true;
    if (m_acceptThread.joinable()) m_acceptThread.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        threads.swap(m_connectionThreads);
    }
    for (std::thread& thread : threads) thread.join();
    if (m_listen >= 0) ::close(m_listen);
    m_listen = -1;
}

std::string Ed2kServer::ListEntry() const {
    return "svr:127.0.0.1:" + std::to_string(m_port) + ";";
}

std::vector<std::string> Ed2kServer::keywords() {
    std::lock_guard lock(m_mutex);
    return m_keywords;
}

std::chrono::steady_clock::time_point Ed2kServer::lastAnswerSent() {
    std::lock_guard lock(m_mutex);
    return m_lastAnswerSent;
}

void Ed2kServer::AcceptLoop() {
    while (!m_stop) {
        pollfd waiting{m_listen, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int connection = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        ++m_connections;
        std::lock_guard lock(m_mutex);
        m_connectionThreads.emplace_back([this, connection] {
            Serve(connection);
            ::close(connection);
        });
    }
}

void Ed2kServer::Serve(int fd) {
    switch (m_config.mode) {
        case Ed2kMode::CloseAtOnce:
            return;
        case Ed2kMode::Silent: {
            std::vector<std::uint8_t> ignored;
            while (!m_stop && ReadFrame(fd, m_stop, ignored)) {
            }
            return;
        }
        default:
            break;
    }
    // As a real server: every packet is read, a login is answered, every search on the
    // connection is answered, and what the server does not handle (a client's list of shared
    // files, packed packets...) is passed over. The connection stays until the client closes.
    std::vector<std::uint8_t> frame;
    while (!m_stop && ReadFrame(fd, m_stop, frame)) {
        if (frame.size() < 6 || frame[0] != 0xE3) continue;
        if (frame[5] == 0x01)
            SendLoginReplies(fd);
        else if (frame[5] == 0x16)
            AnswerSearch(fd, frame);
    }
}

void Ed2kServer::SendLoginReplies(int fd) {
    // A real server answers a login with several packets, each its own write.
    const std::string message = "欢迎来到 devnet 服务器 " + std::to_string(m_port);
    std::vector<std::uint8_t> text(2 + message.size());
    text[0] = static_cast<std::uint8_t>(message.size());
    text[1] = static_cast<std::uint8_t>(message.size() >> 8);
    std::copy(message.begin(), message.end(), text.begin() + 2);
    SendBytes(fd, Frame(0xE3, 0x38, text));
    Pause(m_stop, 5);
    SendBytes(fd, Frame(0xE3, 0x40, {0x01, 0x00, 0x00, 0x7F, 0x19, 0x03, 0x00, 0x00}));
    Pause(m_stop, 5);
    SendBytes(fd, Frame(0xE3, 0x34, {0x10, 0x27, 0x00, 0x00, 0x40, 0x42, 0x0F, 0x00}));
}

void Ed2kServer::AnswerSearch(int fd, const std::vector<std::uint8_t>& frame) {
    // A keyword search: expression type 1, its 16-bit length, the UTF-8 keyword.
    std::string keyword;
    if (frame.size() >= 9 && frame[6] == 0x01) {
        const std::size_t length = frame[7] | (frame[8] << 8);
        keyword.assign(frame.begin() + 9, frame.begin() + 9 + std::min(length, frame.size() - 9));
    }
    {
        std::lock_guard lock(m_mutex);
        m_keywords.push_back(keyword);
    }
    Pause(m_stop, m_config.answerDelayMs);

    std::vector<std::uint8_t> answer;
    if (m_config.mode == Ed2kMode::NoHits) {
        answer = SearchAnswerPacket({}, m_config.packed, m_config.dialect);
    } else if (m_config.mode == Ed2kMode::NamelessRecords) {
        answer = NamelessRecordsAnswer();
    } else if (m_config.mode == Ed2kMode::TinyRecords) {
        answer = TinyRecordsAnswer(m_config.packed, m_config.seed);
    } else if (m_config.mode == Ed2kMode::ZlibBomb) {
        answer = ZlibBombAnswer();
    } else if (m_config.mode == Ed2kMode::HugeFrame) {
        answer = TinyRecordsAnswer(false, m_config.seed);
        std::fill(answer.begin() + 1, answer.begin() + 5, 0xFF);  // 4 GiB to follow
        answer.resize(3u << 20, 0);
    } else if (m_config.mode == Ed2kMode::Garbage) {
        for (int i = 0; i < 300; ++i)
            answer.push_back(static_cast<std::uint8_t>((i * 73 + 41) & 0xFF));
        answer[0] = 0x47;
    } else {
        const int hits =
            m_config.hits >= 0 ? m_config.hits : 5 + static_cast<int>(m_config.seed * 7 % 36);
        answer = SearchAnswerPacket(Ed2kHitsFor(keyword, m_config.seed, hits, true),
                                    m_config.packed, m_config.dialect);
    }
    const std::size_t pieces = static_cast<std::size_t>(std::max(1, m_config.segments));
    const std::size_t step = (answer.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < answer.size() && !m_stop; at += step) {
        if (at > 0) Pause(m_stop, m_config.segmentPauseMs);
        if (at + step >= answer.size()) {
            std::lock_guard lock(m_mutex);
            m_lastAnswerSent = std::chrono::steady_clock::now();  // as the last piece goes out
        }
        SendBytes(fd, std::vector<std::uint8_t>(
                          answer.begin() + static_cast<long>(at),
                          answer.begin() + static_cast<long>(std::min(answer.size(), at + step))));
    }
}

}  // namespace devnet
