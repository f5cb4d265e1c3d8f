#pragma once

#include "ConnectionTarget.h"
#include "Deadline.h"
#include "SocketChannel.h"

#include <memory>

// Opens the byte channel to a runtime. Everything above it speaks the same
// frames whatever the route; a proxy or a gateway route is one more case here.
class ChannelOpener
{
public:
    enum class Failure { None, Unreachable, RouteNotSupported };

    static std::unique_ptr<SocketChannel> Open(const ConnectionTarget& target, const Deadline& deadline,
                                               Failure& failure, QString& error);
};
