#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

RawHttpServer::RawHttpServer() {
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listen, 16) != 0)
        throw std::runtime_error("RawHttpServer: cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
    m_stop = true;
    m_thread.join();
    ::close(m_listen);
}

void RawHttpServer::SetResponse(std::vector<Piece> pieces) {
    std::lock_guard lock(m_mutex);
    m_pieces = std::move(pieces);
}

std::vector<std::string> RawHttpServer::requests() {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void RawHttpServer::Serve() {
    while (!m_stop) {
        pollfd waiting{m_listen, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int connection = ::accept(m_listen, nullptr, nullptr);
        if (connection < 0) continue;
        std::string request;
        char buffer[4096];
        // Read the head, then as many body bytes as Content-Length announces.
        for (;;) {
            pollfd readable{connection, POLLIN, 0};
            if (::poll(&readable, 1, 2000) <= 0) break;
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
            const auto headEnd = request.find("\r\n\r\n");
            if (headEnd == std::string::npos) continue;
            std::size_t bodyLength = 0;
            const auto at = request.find("Content-Length:");
            if (at != std::string::npos && at < headEnd)
                bodyLength = std::strtoul(request.c_str() + at + 15, nullptr, 10);
            if (request.size() >= headEnd + 4 + bodyLength) break;
        }
        std::vector<Piece> pieces;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            pieces = m_pieces;
        }
        for (const Piece& piece : pieces) {
            if (m_stop) break;
            std::this_thread::sleep_for(piece.pauseBefore);
            if (::send(connection, piece.bytes.data(), piece.bytes.size(), MSG_NOSIGNAL) < 0) break;
        }
        ::shutdown(connection, SHUT_RDWR);
        ::close(connection);
    }
}
