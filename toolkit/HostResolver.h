#pragma once

#include "Deadline.h"

#include <QString>

#include <sys/socket.h>

// Turns a host name or address into a socket address within a deadline. The
// system resolver has no time-out of its own, so a name is looked up on a
// helper thread that is left behind if it does not answer in time.
class HostResolver
{
public:
    static bool Resolve(const QString& host, int port, const Deadline& deadline, sockaddr_storage& address,
                        socklen_t& length, QString& error);
};
