#include "ChannelBinding.h"

#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/x509.h>

#include <memory>

QByteArray ChannelBinding::ServerEndPoint(const QByteArray& der)
{
    const auto* p = reinterpret_cast<const unsigned char*>(der.constData());
    const std::unique_ptr<X509, decltype(&X509_free)> cert(d2i_X509(nullptr, &p, static_cast<long>(der.size())),
                                                           X509_free);
    if (!cert)
        return {};
    int mdnid = NID_undef;
    int pknid = NID_undef;
    const EVP_MD* md = nullptr;
    if (X509_get_signature_info(cert.get(), &mdnid, &pknid, nullptr, nullptr) && mdnid != NID_md5 &&
        mdnid != NID_sha1 && mdnid != NID_undef)
        md = EVP_get_digestbynid(mdnid);
    // Nor any other hash as weak as MD5 (MD4, MD2), should a provider offer it.
    if (!md || EVP_MD_get_size(md) < 20)
        md = EVP_sha256();
    QByteArray out(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (!EVP_Digest(der.constData(), static_cast<std::size_t>(der.size()), reinterpret_cast<unsigned char*>(out.data()),
                    &length, md, nullptr))
        return {};
    out.truncate(length);
    return out;
}
