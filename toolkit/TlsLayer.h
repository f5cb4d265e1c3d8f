#pragma once

#include "Deadline.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct ssl_st;
struct ssl_ctx_st;

// TLS (1.2 at least, 1.3 preferred) on a connected non-blocking socket, on
// OpenSSL. The server's certificate chain and its name are checked during
// the handshake, so a refused server never sees a byte of the protocol.
class TlsLayer
{
public:
    enum class Refusal { None, Untrusted, NameMismatch, Expired, NoTls, Failed };

    ~TlsLayer();
    TlsLayer(const TlsLayer&) = delete;
    TlsLayer& operator=(const TlsLayer&) = delete;

    // caFile empty: the system's CA store. host: the name the user gave for
    // the runtime, checked against the certificate's DNS or IP names. On a
    // refusal, fingerprint holds the SHA-256 fingerprint of the certificate
    // shown, when one was.
    static std::unique_ptr<TlsLayer> Start(int fd, const QString& caFile, const QString& host, const Deadline& deadline,
                                           Refusal& refusal, QString& fingerprint);
    // Whether the file can serve as trust anchors: readable PEM with at least one certificate.
    static bool CanLoadCaFile(const QString& caFile);

    bool Send(const char* data, std::size_t size, const Deadline& deadline);
    bool Receive(char* data, std::size_t size, const Deadline& deadline);
    // Application data or a close waits unasked; TLS 1.3 session tickets do not count.
    bool PeerHasSpoken();
    QByteArray ChannelBinding() const { return m_channelBinding; }

private:
    TlsLayer(int fd, ssl_ctx_st* context, ssl_st* ssl);
    // Waits for what OpenSSL asked for after a call returned `result`; false
    // on a real error or when the deadline passed.
    bool Retry(int result, const Deadline& deadline) const;
    // Runs an OpenSSL read or write step until `size` bytes have passed.
    bool Transfer(std::size_t size, const Deadline& deadline,
                  const std::function<int(std::size_t done, std::size_t& n)>& step);
    static int Verify(int preverified, struct x509_store_ctx_st* store);

    int m_fd;
    ssl_ctx_st* m_context;
    ssl_st* m_ssl;
    int m_verifyError = 0;
    QString m_fingerprint;
    QByteArray m_channelBinding;
};
