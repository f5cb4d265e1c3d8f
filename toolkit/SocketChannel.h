#pragma once

#include "Deadline.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A connected TCP socket whose every blocking step ends by a deadline: the
// socket is non-blocking and each wait goes through poll().
class SocketChannel
{
public:
    ~SocketChannel();
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    static std::unique_ptr<SocketChannel> Connect(const QString& host, int port, const Deadline& deadline,
                                                  QString& error);

    bool Send(const QByteArray& bytes, const Deadline& deadline);
    bool Receive(char* data, std::size_t size, const Deadline& deadline);
    // True when the peer has closed, reset, or sent something unasked: checked
    // without waiting, between requests.
    bool PeerHasSpoken() const;
    // The tls-server-end-point data a login binds itself to; empty without TLS.
    QByteArray ChannelBinding() const { return {}; }

private:
    explicit SocketChannel(int fd);
    bool Wait(short events, const Deadline& deadline) const;

    int m_fd;
};
