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

    bool UsesProxy() const { return !proxy.isEmpty(); }
    bool UsesGateway() const { return !gateway.isEmpty(); }
    bool Tunnelled() const { return UsesProxy() || UsesGateway(); }
};
