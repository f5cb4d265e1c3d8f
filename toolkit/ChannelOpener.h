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
    enum class Failure { None, BadArgument, Unreachable, Route };

    static std::unique_ptr<SocketChannel> Open(const ConnectionTarget& target, const Deadline& deadline,
                                               Failure& failure, QString& error);
};
