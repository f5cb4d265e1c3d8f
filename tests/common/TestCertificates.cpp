#include "TestCertificates.h"

#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Cert = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long kDay = 24 * 60 * 60;

bool AddExtension(X509* cert, X509* issuer, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    const bool ok = ext && X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// issuer null: self-signed. names: subjectAltName, empty for a CA.
Cert MakeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, const char* names,
                     long fromDays, long toDays, long serial)
{
    Cert cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), fromDays * kDay);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), toDays * kDay);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509_set_issuer_name(cert.get(), issuer ? X509_get_subject_name(issuer) : name);
    X509* signer = issuer ? issuer : cert.get();
    const bool ca = names == nullptr;
    if (!AddExtension(cert.get(), signer, NID_basic_constraints, ca ? "critical,CA:TRUE" : "CA:FALSE") ||
        (!ca && !AddExtension(cert.get(), signer, NID_subject_alt_name, names)) ||
        !X509_sign(cert.get(), issuer ? issuerKey : key, EVP_sha256()))
        cert.reset();
    return cert;
}

bool Save(const QString& folder, const char* stem, X509* cert, EVP_PKEY* key)
{
    const QString base = folder + u'/' + QString::fromLatin1(stem);
    QFile certFile(base + QStringLiteral(".pem"));
    QFile keyFile(base + QStringLiteral(".key"));
    if (!cert || !certFile.open(QIODevice::WriteOnly) || !keyFile.open(QIODevice::WriteOnly) ||
        !keyFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, cert);
    char* data = nullptr;
    const long certLength = BIO_get_mem_data(bio, &data);
    certFile.write(data, certLength);
    (void)BIO_reset(bio);
    PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    const long keyLength = BIO_get_mem_data(bio, &data);
    keyFile.write(data, keyLength);
    BIO_free(bio);
    return certLength > 0 && keyLength > 0;
}

} // namespace

bool TestCertificates::Make(const QString& folder)
{
    const char* const local = "IP:127.0.0.1,DNS:localhost";
    Key caKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    Key key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!caKey || !key)
        return false;
    const Cert ca = MakeCertificate(caKey.get(), "Quillon Test CA", nullptr, nullptr, nullptr, -1, 30, 1);
    if (!ca)
        return false;
    const Cert server = MakeCertificate(key.get(), "localhost", ca.get(), caKey.get(), local, -1, 30, 2);
    const Cert expired = MakeCertificate(key.get(), "localhost", ca.get(), caKey.get(), local, -10, -1, 3);
    const Cert other =
        MakeCertificate(key.get(), "other.example", ca.get(), caKey.get(), "DNS:other.example", -1, 30, 4);
    const Cert self = MakeCertificate(key.get(), "localhost", nullptr, nullptr, local, -1, 30, 5);
    return Save(folder, "ca", ca.get(), caKey.get()) && Save(folder, "server", server.get(), key.get()) &&
           Save(folder, "expired", expired.get(), key.get()) && Save(folder, "other", other.get(), key.get()) &&
           Save(folder, "self", self.get(), key.get());
}
