#pragma once

#include "toolkit/protocol/HostPort.h"

#include <QByteArray>

// The head a client sends the gateway to name its runtime: an HTTP CONNECT
// request, "CONNECT host:port HTTP/1.1", header lines, and an empty line.
class TunnelRequest
{
public:
    enum class Result { Incomplete, Valid, Invalid };

    // Valid once the whole head is in and names a host and port; the head's
    // length then tells where the tunnelled bytes begin.
    static Result Parse(const QByteArray& bytes, HostPort& target, qsizetype& headLength);

    // A longer head is refused: no client of ours sends one.
    static constexpr qsizetype kMaxHeadBytes = 8192;
};
