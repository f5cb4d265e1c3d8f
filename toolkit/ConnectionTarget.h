#pragma once

#include <QString>

// Where and how to reach a runtime: the arguments of ConnectRuntime.
struct ConnectionTarget
{
    QString server;
    int port = 0;
    QString proxy;
    int proxyPort = 0;
    QString gateway;
    int pollingSeconds = 0;
    // TLS with the runtime, its certificate checked against caFile (empty:
    // the system's CA store).
    bool tls = false;
    QString caFile;

    bool UsesProxy() const { return !proxy.isEmpty(); }
    bool UsesGateway() const { return !gateway.isEmpty(); }
    bool Tunnelled() const { return UsesProxy() || UsesGateway(); }
};
