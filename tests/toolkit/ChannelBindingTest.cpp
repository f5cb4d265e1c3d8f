// The tls-server-end-point binding: the certificate hashed with its own
// signature hash, SHA-256 in place of the weak ones, so that a runtime and a
// client that follow the same rule agree on every certificate.
#include "toolkit/protocol/ChannelBinding.h"

#include <QCryptographicHash>

#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A self-signed certificate, signed with `md`, as DER.
QByteArray SignedWith(const EVP_MD* md)
{
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_RSA_gen(1024), EVP_PKEY_free);
    const std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    if (!key || !cert)
        return {};
    X509_set_version(cert.get(), 2);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("runtime"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    if (!X509_sign(cert.get(), key.get(), md))
        return {};
    unsigned char* der = nullptr;
    const int length = i2d_X509(cert.get(), &der);
    QByteArray out(reinterpret_cast<const char*>(der), length > 0 ? length : 0);
    OPENSSL_free(der);
    return out;
}

} // namespace

TEST(ChannelBinding, HashesTheCertificateWithItsSignatureHashButNeverAWeakOne)
{
    const struct
    {
        const char* name;
        const EVP_MD* signature;
        QCryptographicHash::Algorithm binding;
    } cases[] = {
        {"SHA-224", EVP_sha224(), QCryptographicHash::Sha224}, {"SHA-384", EVP_sha384(), QCryptographicHash::Sha384},
        {"SHA-512", EVP_sha512(), QCryptographicHash::Sha512}, {"SHA-1", EVP_sha1(), QCryptographicHash::Sha256},
        {"MD5", EVP_md5(), QCryptographicHash::Sha256},
    };
    for (const auto& c : cases) {
        const QByteArray der = SignedWith(c.signature);
        ASSERT_FALSE(der.isEmpty()) << c.name;
        EXPECT_EQ(ChannelBinding::ServerEndPoint(der), QCryptographicHash::hash(der, c.binding)) << c.name;
    }
}

TEST(ChannelBinding, NothingToBindWhereThereIsNoCertificate)
{
    const QByteArray der = SignedWith(EVP_sha256());
    EXPECT_TRUE(ChannelBinding::ServerEndPoint({}).isEmpty());
    EXPECT_TRUE(ChannelBinding::ServerEndPoint(der.left(der.size() / 2)).isEmpty());
    EXPECT_TRUE(ChannelBinding::ServerEndPoint(QByteArray(600, '\x30')).isEmpty());
}
