#pragma once

#include <cstddef>
#include <thread>

// The physical limit of a request and its reply on loopback: a server thread
// that reads a request of a given size and answers with a reply of a given
// size, doing nothing else, over TCP with Nagle off as the toolkit uses it.
class LoopbackEcho
{
public:
    LoopbackEcho();
    ~LoopbackEcho();
    LoopbackEcho(const LoopbackEcho&) = delete;
    LoopbackEcho& operator=(const LoopbackEcho&) = delete;

    bool Ok() const { return m_client >= 0; }
    // One round trip: requestBytes out, replyBytes back. False on a socket error.
    bool RoundTrip(std::size_t requestBytes, std::size_t replyBytes);

private:
    void Serve(int fd);

    int m_client = -1;
    std::thread m_server;
};
