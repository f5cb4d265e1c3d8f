// The SCRAM-SHA-256 login of client and runtime: the RFC 7677 test vector
// through both halves, and the ways an exchange must fail.
#include "toolkit/protocol/ScramClient.h"
#include "toolkit/protocol/ScramCrypto.h"
#include "toolkit/protocol/ScramMessage.h"
#include "toolkit/protocol/ScramServer.h"

#include <gtest/gtest.h>

namespace {

// RFC 7677, section 3.
const QByteArray kClientNonce = "rOprNGfwEbeRWgbNEkqO";
const QByteArray kServerNonce = "%hvYDpWUa2RaTCAfuxFIlj)hNlF$k0";
const QByteArray kSalt = QByteArray::fromBase64("W22ZaJ0SNY7soEsUEjb6gQ==");
const QByteArray kServerFirst =
    "r=rOprNGfwEbeRWgbNEkqO%hvYDpWUa2RaTCAfuxFIlj)hNlF$k0,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=4096";
const QByteArray kClientFinal = "c=biws,r=rOprNGfwEbeRWgbNEkqO%hvYDpWUa2RaTCAfuxFIlj)hNlF$k0,"
                                "p=dHzbZapWIk4jUhN+Ute9ytag9zjfMHgsqmmiz7AndVQ=";
const QByteArray kServerFinal = "v=6rriTRBi23WpRR/wtup+mMhUZUn/dB5nLTJRsjl95G4=";

ScramServer::Verifier Pencil()
{
    return ScramServer::FromSaltedPassword(ScramCrypto::SaltedPassword("pencil", kSalt, 4096), kSalt, 4096);
}

// One whole exchange; the server's outcome, and whether the client accepted
// the server's signature.
ScramServer::Outcome Exchange(ScramClient& client, ScramServer& server, const ScramServer::Verifier& verifier,
                              bool* serverProven = nullptr)
{
    QString user;
    QByteArray clientFinal;
    QByteArray serverFinal;
    if (!server.ReadClientFirst(client.ClientFirst(), user) ||
        !client.ClientFinal(server.ServerFirst(verifier), clientFinal))
        return ScramServer::Outcome::Malformed;
    const ScramServer::Outcome outcome = server.ReadClientFinal(clientFinal, serverFinal);
    if (serverProven)
        *serverProven = client.VerifyServerFinal(serverFinal);
    return outcome;
}

} // namespace

TEST(Scram, Rfc7677TestVectorOnBothSides)
{
    ScramClient client("user", "pencil", QByteArray(), kClientNonce);
    EXPECT_EQ(client.ClientFirst(), "n,,n=user,r=rOprNGfwEbeRWgbNEkqO");
    QByteArray clientFinal;
    ASSERT_TRUE(client.ClientFinal(kServerFirst, clientFinal));
    EXPECT_EQ(clientFinal, kClientFinal);
    EXPECT_TRUE(client.VerifyServerFinal(kServerFinal));
    EXPECT_FALSE(client.VerifyServerFinal("v=" + QByteArray(32, 'x').toBase64()));

    ScramServer server(QByteArray(), kServerNonce);
    QString user;
    ASSERT_TRUE(server.ReadClientFirst("n,,n=user,r=rOprNGfwEbeRWgbNEkqO", user));
    EXPECT_EQ(user, "user");
    EXPECT_EQ(server.ServerFirst(Pencil()), kServerFirst);
    QByteArray serverFinal;
    EXPECT_EQ(server.ReadClientFinal(kClientFinal, serverFinal), ScramServer::Outcome::Accepted);
    EXPECT_EQ(serverFinal, kServerFinal);
    // A proof is good for one exchange only.
    EXPECT_EQ(server.ReadClientFinal(kClientFinal, serverFinal), ScramServer::Outcome::Malformed);
}

TEST(Scram, WrongPasswordsImpostorsAndForeignChannelsFail)
{
    ScramClient wrong("user", "pencil2", QByteArray());
    ScramServer server{QByteArray()};
    EXPECT_EQ(Exchange(wrong, server, Pencil()), ScramServer::Outcome::Refused);

    // A server that does not hold the verifier cannot sign the exchange.
    ScramClient client("user", "pencil", QByteArray());
    ScramServer impostor{QByteArray()};
    const QByteArray otherSalt = ScramCrypto::RandomBytes(16);
    bool serverProven = true;
    Exchange(client, impostor,
             ScramServer::FromSaltedPassword(ScramCrypto::SaltedPassword("guess", otherSalt, 4096), otherSalt, 4096),
             &serverProven);
    EXPECT_FALSE(serverProven);

    // Bound to TLS: the client's certificate hash must be the server's.
    ScramClient bound("user", "pencil", ScramCrypto::Sha256("certificate A"));
    ScramServer boundServer(ScramCrypto::Sha256("certificate A"));
    EXPECT_EQ(Exchange(bound, boundServer, Pencil(), &serverProven), ScramServer::Outcome::Accepted);
    EXPECT_TRUE(serverProven);
    ScramClient elsewhere("user", "pencil", ScramCrypto::Sha256("certificate B"));
    ScramServer serverA(ScramCrypto::Sha256("certificate A"));
    EXPECT_EQ(Exchange(elsewhere, serverA, Pencil()), ScramServer::Outcome::Refused);
    // On TLS a client that does not bind is refused at once.
    ScramClient unbound("user", "pencil", QByteArray());
    QString user;
    EXPECT_FALSE(serverA.ReadClientFirst(unbound.ClientFirst(), user));
    EXPECT_FALSE(ScramServer(QByteArray()).ReadClientFirst(bound.ClientFirst(), user));
}

TEST(Scram, MalformedMessagesAndHostileParametersAreRefused)
{
    QString user;
    for (const QByteArray& first :
         {QByteArray("n,a=admin,n=user,r=abc"), QByteArray("n,,n=user"), QByteArray("n,,n=user,r=abc,m=ext"),
          QByteArray("x,,n=user,r=abc"), QByteArray("n,,n=us=3Xer,r=abc"), QByteArray("n,,n=,r=abc"), QByteArray("")})
        EXPECT_FALSE(ScramServer(QByteArray()).ReadClientFirst(first, user)) << first.constData();

    QByteArray clientFinal;
    const auto answer = [&](const QByteArray& serverFirst) {
        ScramClient client("user", "pencil", QByteArray(), kClientNonce);
        return client.ClientFinal(serverFirst, clientFinal);
    };
    EXPECT_TRUE(answer(kServerFirst));
    EXPECT_FALSE(answer("r=someoneElsesNonce,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=4096"));
    EXPECT_FALSE(answer("r=rOprNGfwEbeRWgbNEkqO,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=4096")) << "no server part";
    EXPECT_FALSE(answer("r=rOprNGfwEbeRWgbNEkqOxyz,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=2000000000")) << "would freeze";
    EXPECT_FALSE(answer("r=rOprNGfwEbeRWgbNEkqOxyz,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=1"));
    EXPECT_FALSE(answer("r=rOprNGfwEbeRWgbNEkqOxyz,s=!!,i=4096"));
    EXPECT_FALSE(answer("r=rOprNGfwEbeRWgbNEkqOxyz,s=W22ZaJ0SNY7soEsUEjb6gQ==,i=4096,e=x"));

    // Names with the two escaped characters travel intact.
    ScramClient odd("a=b,c", "pw", QByteArray());
    ScramServer server{QByteArray()};
    ASSERT_TRUE(server.ReadClientFirst(odd.ClientFirst(), user));
    EXPECT_EQ(user, "a=b,c");
}
