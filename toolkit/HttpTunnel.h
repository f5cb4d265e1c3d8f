#pragma once

#include "Deadline.h"
#include "toolkit/protocol/HostPort.h"

#include <QString>

class SocketChannel;

// Asks the HTTP proxy or the gateway at the far end of a channel to connect it
// on to another host (HTTP CONNECT). Afterwards the channel carries the bytes
// of that host as if connected directly.
class HttpTunnel
{
public:
    // False, with the reason in error, when the peer refuses (a status other
    // than 2xx), closes, times out or answers no HTTP.
    static bool Open(SocketChannel& channel, const HostPort& to, const Deadline& deadline, QString& error);

    // Longest response head read; a peer that sends more is no proxy we speak to.
    static constexpr int kMaxResponseBytes = 8192;

private:
    static bool ReadHead(SocketChannel& channel, const Deadline& deadline, QByteArray& head);
};
