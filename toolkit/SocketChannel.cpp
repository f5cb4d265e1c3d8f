#include "SocketChannel.h"

#include "HostResolver.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

SocketChannel::SocketChannel(int fd) : m_fd(fd)
{
}

SocketChannel::~SocketChannel()
{
    ::close(m_fd);
}

std::unique_ptr<SocketChannel> SocketChannel::Connect(const QString& host, int port, const Deadline& deadline,
                                                      QString& error)
{
    sockaddr_storage address = {};
    socklen_t length = 0;
    if (!HostResolver::Resolve(host, port, deadline, address, length, error))
        return nullptr;
    const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<SocketChannel> channel(new SocketChannel(fd));
    // Requests are small and answered at once: do not let Nagle hold them back.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 && errno != EINPROGRESS) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    if (!deadline.WaitFor(channel->m_fd, POLLOUT)) {
        error = QStringLiteral("the connection timed out");
        return nullptr;
    }
    int status = 0;
    socklen_t size = sizeof status;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &status, &size) != 0 || status != 0) {
        error = QString::fromLocal8Bit(std::strerror(status ? status : errno));
        return nullptr;
    }
    return channel;
}

bool SocketChannel::StartTls(const QString& caFile, const QString& host, const Deadline& deadline,
                             TlsLayer::Refusal& refusal, QString& fingerprint)
{
    m_tls = TlsLayer::Start(m_fd, caFile, host, deadline, refusal, fingerprint);
    return m_tls != nullptr;
}

bool SocketChannel::Send(const QByteArray& bytes, const Deadline& deadline)
{
    if (m_tls)
        return m_tls->Send(bytes.constData(), static_cast<std::size_t>(bytes.size()), deadline);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a peer that went away must not kill the host with SIGPIPE.
        const ssize_t n =
            ::send(m_fd, bytes.constData() + sent, static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && deadline.WaitFor(m_fd, POLLOUT))
            continue;
        return false;
    }
    return true;
}

bool SocketChannel::Receive(char* data, std::size_t size, const Deadline& deadline)
{
    if (m_tls)
        return m_tls->Receive(data, size, deadline);
    std::size_t received = 0;
    while (received < size) {
        const ssize_t n = ::recv(m_fd, data + received, size - received, 0);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && deadline.WaitFor(m_fd, POLLIN))
            continue;
        return false; // closed by the peer, reset, or out of time
    }
    return true;
}

bool SocketChannel::PeerHasSpoken()
{
    if (m_tls)
        return m_tls->PeerHasSpoken();
    pollfd p = {m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) != 0;
}
