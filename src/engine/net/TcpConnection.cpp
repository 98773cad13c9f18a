#include "engine/net/TcpConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
// Cancel is looked at this often while a wait goes on.
constexpr auto kSlice = std::chrono::milliseconds(50);
}  // namespace

bool TcpConnection::Fail(int error) {
    m_error = std::strerror(error);
    return false;
}

bool TcpConnection::Wait(short events, Clock::time_point deadline) {
    for (;;) {
        if (m_cancel != nullptr && m_cancel->load()) {
            m_error = "cancelled";
            return false;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            m_error = "timed out";
            return false;
        }
        const auto slice = std::min<Clock::duration>(deadline - now, kSlice);
        pollfd waiting{m_fd, events, 0};
        const int ready =
            ::poll(&waiting, 1,
                   static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(slice).count()));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return Fail(errno);
    }
}

bool TcpConnection::Connect(std::uint32_t address, std::uint16_t port, Clock::time_point deadline) {
    Close();
    m_error.clear();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) return Fail(errno);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = port;
    server.sin_addr.s_addr = address;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0)
        return true;
    if (errno != EINPROGRESS) return Fail(errno);
    if (!Wait(POLLOUT, deadline)) return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return Fail(errno);
    return error == 0 || Fail(error);
}

bool TcpConnection::SendAll(const void* data, std::size_t size, Clock::time_point deadline) {
    m_error.clear();  // a new exchange: what went wrong before does not count
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        if (m_fd < 0) return false;
        const ssize_t sent = ::send(m_fd, bytes, size, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!Wait(POLLOUT, deadline)) return false;
            continue;
        }
        return Fail(errno);
    }
    return true;
}

long TcpConnection::Receive(void* buffer, std::size_t capacity, Clock::time_point deadline) {
    for (;;) {
        if (m_fd < 0) return -1;
        const ssize_t got = ::recv(m_fd, buffer, capacity, 0);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            Fail(errno);
            return -1;
        }
        if (!Wait(POLLIN, deadline)) return -1;
    }
}

void TcpConnection::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}
