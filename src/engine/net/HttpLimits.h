#pragma once

#include <cstddef>

// Bounds on every HTTP exchange, so that a silent or hostile host cannot block a command for
// ever or fill memory.
struct HttpLimits {
    long connectTimeoutMs = 10000;         // TCP connect
    long stallTimeoutMs = 20000;           // no byte received for this long ends the transfer
    long totalTimeoutMs = 120000;          // whole exchange, redirects included
    std::size_t maxBodyBytes = 16u << 20;  // body bytes kept; the rest is not read
};
