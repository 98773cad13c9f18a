#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// A blocking-style IPv4 TCP connection whose every wait is bounded by a deadline and ends
// early when the cancel flag is raised (closing the window).
class TcpConnection {
public:
    using Clock = std::chrono::steady_clock;

    explicit TcpConnection(const std::atomic_bool* cancel = nullptr) : m_cancel(cancel) {}
    ~TcpConnection() { Close(); }
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // address and port in network byte order. False when no connection was made in time.
    bool Connect(std::uint32_t address, std::uint16_t port, Clock::time_point deadline);
    bool SendAll(const void* data, std::size_t size, Clock::time_point deadline);
    // Bytes received (> 0), 0 when the peer has closed, -1 on error, time-out or cancel.
    long Receive(void* buffer, std::size_t capacity, Clock::time_point deadline);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // Why the last failed call failed, in words ("Connection refused", "timed out", ...).
    const std::string& error() const { return m_error; }

private:
    // Waits for events on the socket; false on time-out, cancel or error.
    bool Wait(short events, Clock::time_point deadline);

    bool Fail(int error);  // records error (an errno value), returns false

    const std::atomic_bool* m_cancel;
    int m_fd = -1;
    std::string m_error;
};
