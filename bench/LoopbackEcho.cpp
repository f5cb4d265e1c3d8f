#include "LoopbackEcho.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool SendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::recv(fd, data, size, 0);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void NoDelay(int fd)
{
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

} // namespace

LoopbackEcho::LoopbackEcho()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 1) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener >= 0)
            ::close(listener);
        return;
    }
    m_client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(m_client, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_client);
        m_client = -1;
    }
    const int accepted = m_client >= 0 ? ::accept(listener, nullptr, nullptr) : -1;
    ::close(listener);
    if (accepted < 0)
        return;
    NoDelay(m_client);
    NoDelay(accepted);
    m_server = std::thread(&LoopbackEcho::Serve, this, accepted);
}

LoopbackEcho::~LoopbackEcho()
{
    if (m_client >= 0) {
        ::shutdown(m_client, SHUT_RDWR);
        ::close(m_client);
    }
    if (m_server.joinable())
        m_server.join();
}

void LoopbackEcho::Serve(int fd)
{
    // Each request starts with the two sizes; the rest is payload to swallow.
    std::vector<char> buffer;
    for (;;) {
        std::uint64_t sizes[2];
        if (!ReceiveAll(fd, reinterpret_cast<char*>(sizes), sizeof sizes))
            break;
        buffer.resize(std::max(sizes[0], sizes[1]));
        if (!ReceiveAll(fd, buffer.data(), sizes[0]) || !SendAll(fd, buffer.data(), sizes[1]))
            break;
    }
    ::close(fd);
}

bool LoopbackEcho::RoundTrip(std::size_t requestBytes, std::size_t replyBytes)
{
    const std::size_t head = 2 * sizeof(std::uint64_t);
    std::vector<char> request(std::max(requestBytes, head), 'r');
    const std::uint64_t sizes[2] = {request.size() - head, replyBytes};
    std::memcpy(request.data(), sizes, head);
    std::vector<char> reply(replyBytes);
    return SendAll(m_client, request.data(), request.size()) && ReceiveAll(m_client, reply.data(), reply.size());
}
