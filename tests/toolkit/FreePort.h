#pragma once

#include <QTcpServer>

// A loopback port that was free a moment ago, for a helper process that cannot
// take port 0 itself, or for a peer that must be down.
inline quint16 FreePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}
