// The SCRAM-SHA-256 messages both ends parse, and the certificate the
// channel binding hashes. The first byte picks what reads the rest: the
// runtime's reading of a client's first and final messages (with and without
// TLS), the toolkit's reading of a server's first and final messages, or a
// DER certificate. Whatever the bytes, nothing may crash, read astray, or
// accept a proof it was not given.
#include "toolkit/protocol/ChannelBinding.h"
#include "toolkit/protocol/ScramClient.h"
#include "toolkit/protocol/ScramCrypto.h"
#include "toolkit/protocol/ScramMessage.h"
#include "toolkit/protocol/ScramServer.h"

#include <openssl/evp.h>

#include <cstddef>
#include <cstdint>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const QByteArray kSalt = QByteArrayLiteral("fuzzing-salt");

ScramServer::Verifier Verifier()
{
    static const ScramServer::Verifier v =
        ScramServer::FromSaltedPassword(ScramCrypto::SaltedPassword("pw", kSalt, 1000), kSalt, 1000);
    return v;
}

// A server reading a fuzzed first message and then a fuzzed final one: the
// final one cannot carry a valid proof, as it was made without the password.
void Server(const QByteArray& input, const QByteArray& binding)
{
    const qsizetype cut = input.indexOf('\n');
    const QByteArray first = cut < 0 ? input : input.left(cut);
    const QByteArray final = cut < 0 ? QByteArray() : input.mid(cut + 1);
    ScramServer server(binding);
    QString user;
    if (!server.ReadClientFirst(first, user))
        return;
    Require(!user.isEmpty());
    server.ServerFirst(Verifier());
    QByteArray serverFinal;
    Require(server.ReadClientFinal(final, serverFinal) != ScramServer::Outcome::Accepted);
}

// A client reading a fuzzed server-first (iteration counts kept small, so
// each run stays quick) and a fuzzed server-final, which cannot prove anything.
void Client(const QByteArray& input)
{
    const qsizetype cut = input.indexOf('\n');
    const QByteArray first = cut < 0 ? input : input.left(cut);
    QByteArrayList v;
    if (ScramMessage::Parse(first, "rsi", v) && v[2].toInt() > 2000)
        return;
    ScramClient client("user", "pw", QByteArray(), "fuzz");
    QByteArray clientFinal;
    if (client.ClientFinal(first, clientFinal))
        Require(clientFinal.startsWith("c=biws,r=fuzz"));
    Require(!client.VerifyServerFinal(cut < 0 ? QByteArray() : input.mid(cut + 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    switch (data[0] % 4) {
    case 0: Server(input, QByteArray()); break;
    case 1: Server(input, ScramCrypto::Sha256("certificate")); break;
    case 2: Client(input); break;
    default: {
        // The certificate's own signature hash may be shorter than SHA-256
        // (SHA-224, RIPEMD-160), but never one of the broken 16-byte ones.
        const QByteArray binding = ChannelBinding::ServerEndPoint(input);
        Require(binding.isEmpty() || (binding.size() >= 20 && binding.size() <= EVP_MAX_MD_SIZE));
        Require(binding == ChannelBinding::ServerEndPoint(input));
        break;
    }
    }
    return 0;
}
