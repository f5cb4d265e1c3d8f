#pragma once

#include "ConnectionTarget.h"
#include "Deadline.h"
#include "SocketChannel.h"

#include <memory>

// Opens the byte channel to a runtime: directly, or through an HTTP proxy, a
// gateway, or a proxy and then a gateway, each asked with CONNECT for the next
// hop. Everything above it speaks the same frames whatever the route.
class ChannelOpener
{
public:
    // Route: a proxy or gateway was given and the way through it failed.
    // Tls: the way was open and the TLS handshake refused; see `refusal`.
    enum class Failure { None, BadArgument, Unreachable, Route, Tls };

    struct Outcome
    {
        Failure failure = Failure::None;
        TlsLayer::Refusal refusal = TlsLayer::Refusal::None;
        QString fingerprint; // of the certificate a refused TLS handshake was shown
        QString error;
    };

    static std::unique_ptr<SocketChannel> Open(const ConnectionTarget& target, const Deadline& deadline,
                                               Outcome& outcome);
};
