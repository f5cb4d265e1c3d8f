#pragma once

#include <algorithm>
#include <cstdint>

// Time and size bounds that keep one client from holding the runtime.
struct SessionLimits
{
    int idleMs = 60000;                 // no request for this long: the client is gone
    int ioMs = 10000;                   // handshake, one frame's bytes, or draining replies
    std::uint32_t keepAliveMs = 2000;   // how often an idle toolkit checks the link
    std::int64_t highWater = 1 << 20;   // stop reading requests while this much output waits
    std::int64_t maxPending = 32 << 20; // drop a client that lets more than this pile up
    int maxClients = 256;

    // How often a connection checks these deadlines: a quarter of the shortest,
    // within 10 ms to 1 s.
    int WatchdogMs() const { return std::clamp(std::min(ioMs, idleMs) / 4, 10, 1000); }
};

// What Qt may hold unread for one socket, and what one read takes at most.
constexpr std::int64_t kSocketReadBufferBytes = 256 * 1024;
constexpr std::int64_t kSocketReadChunkBytes = 64 * 1024;
