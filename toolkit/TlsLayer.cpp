#include "TlsLayer.h"

#include "toolkit/protocol/ChannelBinding.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <poll.h>

namespace {

QString Fingerprint(X509* cert)
{
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!cert || !X509_digest(cert, EVP_sha256(), md, &length))
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(md), length).toHex(':').toUpper());
}

SSL_CTX* MakeContext(const QString& caFile)
{
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (!context)
        return nullptr;
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    const bool loaded = caFile.isEmpty()
                            ? SSL_CTX_set_default_verify_paths(context) == 1
                            : SSL_CTX_load_verify_locations(context, caFile.toLocal8Bit().constData(), nullptr) == 1;
    if (!loaded) {
        SSL_CTX_free(context);
        return nullptr;
    }
    // A file the user names may hold the runtime's own certificate, or an
    // intermediate: any certificate in it is an anchor.
    if (!caFile.isEmpty())
        X509_VERIFY_PARAM_set_flags(SSL_CTX_get0_param(context), X509_V_FLAG_PARTIAL_CHAIN);
    return context;
}

} // namespace

TlsLayer::TlsLayer(int fd, SSL_CTX* context, SSL* ssl) : m_fd(fd), m_context(context), m_ssl(ssl)
{
}

TlsLayer::~TlsLayer()
{
    SSL_free(m_ssl);
    SSL_CTX_free(m_context);
}

bool TlsLayer::CanLoadCaFile(const QString& caFile)
{
    SSL_CTX* context = MakeContext(caFile);
    SSL_CTX_free(context);
    ERR_clear_error();
    return context != nullptr;
}

int TlsLayer::Verify(int preverified, X509_STORE_CTX* store)
{
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* self = static_cast<TlsLayer*>(SSL_get_app_data(ssl));
    if (self && self->m_fingerprint.isEmpty())
        self->m_fingerprint = Fingerprint(X509_STORE_CTX_get0_cert(store));
    if (self && !preverified && self->m_verifyError == 0)
        self->m_verifyError = X509_STORE_CTX_get_error(store);
    return preverified;
}

std::unique_ptr<TlsLayer> TlsLayer::Start(int fd, const QString& caFile, const QString& host, const Deadline& deadline,
                                          Refusal& refusal, QString& fingerprint)
{
    refusal = Refusal::Failed;
    fingerprint.clear();
    SSL_CTX* context = MakeContext(caFile);
    SSL* ssl = context ? SSL_new(context) : nullptr;
    if (!ssl) {
        SSL_CTX_free(context);
        ERR_clear_error();
        return nullptr;
    }
    std::unique_ptr<TlsLayer> layer(new TlsLayer(fd, context, ssl));
    SSL_set_app_data(ssl, layer.get());
    SSL_set_verify(ssl, SSL_VERIFY_PEER, &TlsLayer::Verify);
    const QByteArray name = host.toUtf8();
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
    if (!X509_VERIFY_PARAM_set1_ip_asc(param, name.constData())) {
        X509_VERIFY_PARAM_set1_host(param, name.constData(), static_cast<std::size_t>(name.size()));
        SSL_set_tlsext_host_name(ssl, name.constData());
    }
    SSL_set_fd(ssl, fd);
    int result = 0;
    while ((result = SSL_connect(ssl)) != 1) {
        if (!layer->Retry(result, deadline))
            break;
    }
    if (result == 1) {
        X509* cert = SSL_get0_peer_certificate(ssl);
        QByteArray der(i2d_X509(cert, nullptr), Qt::Uninitialized);
        auto* out = reinterpret_cast<unsigned char*>(der.data());
        if (cert && !der.isEmpty() && i2d_X509(cert, &out) == der.size())
            layer->m_channelBinding = ChannelBinding::ServerEndPoint(der);
        refusal = layer->m_channelBinding.isEmpty() ? Refusal::Failed : Refusal::None;
        return refusal == Refusal::None ? std::move(layer) : nullptr;
    }
    fingerprint = layer->m_fingerprint;
    switch (layer->m_verifyError) {
    case 0: {
        // No certificate came: a peer that closed at our greeting, or answered
        // with bytes that are no TLS, speaks none.
        const unsigned long error = ERR_peek_last_error();
        const bool noTls = BIO_number_read(SSL_get_rbio(ssl)) == 0 ||
                           (ERR_GET_LIB(error) == ERR_LIB_SSL && ERR_GET_REASON(error) == SSL_R_WRONG_VERSION_NUMBER);
        refusal = noTls && !deadline.Passed() ? Refusal::NoTls : Refusal::Failed;
        break;
    }
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID: refusal = Refusal::Expired; break;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH: refusal = Refusal::NameMismatch; break;
    default: refusal = Refusal::Untrusted; break;
    }
    ERR_clear_error();
    return nullptr;
}

bool TlsLayer::Retry(int result, const Deadline& deadline) const
{
    short events = 0;
    switch (SSL_get_error(m_ssl, result)) {
    case SSL_ERROR_WANT_READ: events = POLLIN; break;
    case SSL_ERROR_WANT_WRITE: events = POLLOUT; break;
    case SSL_ERROR_SYSCALL:
        if (errno == EINTR)
            return true;
        return false;
    default: return false;
    }
    return deadline.WaitFor(m_fd, events);
}

bool TlsLayer::Transfer(std::size_t size, const Deadline& deadline,
                        const std::function<int(std::size_t done, std::size_t& n)>& step)
{
    std::size_t done = 0;
    while (done < size) {
        std::size_t n = 0;
        const int result = step(done, n);
        if (result == 1) {
            done += n;
        } else if (!Retry(result, deadline)) {
            ERR_clear_error();
            return false;
        }
    }
    return true;
}

bool TlsLayer::Send(const char* data, std::size_t size, const Deadline& deadline)
{
    return Transfer(size, deadline, [&](std::size_t done, std::size_t& n) {
        return SSL_write_ex(m_ssl, data + done, size - done, &n);
    });
}

bool TlsLayer::Receive(char* data, std::size_t size, const Deadline& deadline)
{
    return Transfer(size, deadline,
                    [&](std::size_t done, std::size_t& n) { return SSL_read_ex(m_ssl, data + done, size - done, &n); });
}

bool TlsLayer::PeerHasSpoken()
{
    pollfd p = {m_fd, POLLIN, 0};
    if (SSL_pending(m_ssl) == 0 && ::poll(&p, 1, 0) == 0)
        return false;
    char c = 0;
    std::size_t n = 0;
    const int result = SSL_peek_ex(m_ssl, &c, 1, &n);
    if (result == 1)
        return true;
    const bool onlyHandshake = SSL_get_error(m_ssl, result) == SSL_ERROR_WANT_READ;
    ERR_clear_error();
    return !onlyHandshake;
}
