#include "TlsCredentials.h"

#include "toolkit/protocol/ChannelBinding.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

bool ReadFile(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.read(TlsCredentials::kMaxFileSize + 1);
    if (bytes.size() > TlsCredentials::kMaxFileSize) {
        error = QStringLiteral("%1 is larger than a certificate or key file can be").arg(path);
        return false;
    }
    return true;
}

// A private key readable by the group or by everyone is as good as published.
bool OwnerOnly(const QString& path, QString& error)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        error = QStringLiteral("cannot read %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (st.st_mode & (S_IRGRP | S_IROTH)) {
        error = QStringLiteral("%1 may be read by others than its owner; allow only the owner (chmod 600)").arg(path);
        return false;
    }
    return true;
}

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;

Key ParseKey(const QByteArray& pem)
{
    const std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size())),
                                                        BIO_free);
    // No pass phrase callback: an encrypted key is refused rather than asked for.
    pem_password_cb* const noPassword = [](char*, int, int, void*) { return 0; };
    return Key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, noPassword, nullptr) : nullptr, EVP_PKEY_free);
}

bool Fits(const QSslCertificate& certificate, EVP_PKEY* key)
{
    const QByteArray der = certificate.toDer();
    const auto* p = reinterpret_cast<const unsigned char*>(der.constData());
    const std::unique_ptr<X509, decltype(&X509_free)> x509(d2i_X509(nullptr, &p, static_cast<long>(der.size())),
                                                           X509_free);
    return x509 && X509_check_private_key(x509.get(), key) == 1;
}

} // namespace

bool TlsCredentials::Load(const QString& certificateFile, const QString& keyFile, QString& error)
{
    if (!QSslSocket::supportsSsl()) {
        error = QStringLiteral("TLS is not available: Qt's OpenSSL backend cannot be loaded");
        return false;
    }
    QByteArray certificatePem;
    QByteArray keyPem;
    if (!ReadFile(certificateFile, certificatePem, error) || !OwnerOnly(keyFile, error) ||
        !ReadFile(keyFile, keyPem, error))
        return false;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certificatePem, QSsl::Pem);
    if (chain.isEmpty() || chain.first().isNull()) {
        error = QStringLiteral("%1 holds no PEM certificate").arg(certificateFile);
        return false;
    }
    const Key key = ParseKey(keyPem);
    ERR_clear_error();
    if (!key) {
        error = QStringLiteral("%1 holds no PEM private key without a pass phrase").arg(keyFile);
        return false;
    }
    if (!Fits(chain.first(), key.get())) {
        ERR_clear_error();
        error = QStringLiteral("the key in %1 does not fit the certificate in %2").arg(keyFile, certificateFile);
        return false;
    }
    const int type = EVP_PKEY_get_base_id(key.get());
    const QSslKey sslKey(keyPem, type == EVP_PKEY_EC ? QSsl::Ec : QSsl::Rsa, QSsl::Pem, QSsl::PrivateKey);
    if (sslKey.isNull() || (type != EVP_PKEY_EC && type != EVP_PKEY_RSA)) {
        error = QStringLiteral("%1: only RSA and EC keys are supported").arg(keyFile);
        return false;
    }
    m_configuration = QSslConfiguration::defaultConfiguration();
    m_configuration.setLocalCertificateChain(chain);
    m_configuration.setPrivateKey(sslKey);
    m_configuration.setProtocol(QSsl::TlsV1_2OrLater);
    m_configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_channelBinding = ChannelBinding::ServerEndPoint(chain.first().toDer());
    return !m_channelBinding.isEmpty();
}
