#pragma once

#include "Deadline.h"
#include "TlsLayer.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A connected TCP socket whose every blocking step ends by a deadline: the
// socket is non-blocking and each wait goes through poll(). Once TLS is
// started on it, every byte above goes through the TLS layer.
class SocketChannel
{
public:
    ~SocketChannel();
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    static std::unique_ptr<SocketChannel> Connect(const QString& host, int port, const Deadline& deadline,
                                                  QString& error);

    // Starts TLS with the runtime at the far end (after any proxy or gateway
    // has opened the way); false with the reason when it is refused.
    bool StartTls(const QString& caFile, const QString& host, const Deadline& deadline, TlsLayer::Refusal& refusal,
                  QString& fingerprint);

    bool Send(const QByteArray& bytes, const Deadline& deadline);
    bool Receive(char* data, std::size_t size, const Deadline& deadline);
    // True when the peer has closed, reset, or sent something unasked: checked
    // without waiting, between requests.
    bool PeerHasSpoken();
    // The tls-server-end-point data a login binds itself to; empty without TLS.
    QByteArray ChannelBinding() const { return m_tls ? m_tls->ChannelBinding() : QByteArray(); }

private:
    explicit SocketChannel(int fd);

    int m_fd;
    std::unique_ptr<TlsLayer> m_tls;
};
