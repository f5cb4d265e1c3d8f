#pragma once

#include <QByteArray>

// The tls-server-end-point channel binding of RFC 5929: the hash of the
// server's certificate, with the certificate's own signature hash (SHA-256
// in place of MD5, SHA-1 and anything weaker). Client and runtime compute it alike, so a login
// made through someone else's TLS does not verify.
class ChannelBinding
{
public:
    // der: the server's certificate; empty when it cannot be read.
    static QByteArray ServerEndPoint(const QByteArray& der);
};
