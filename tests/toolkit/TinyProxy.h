#pragma once

#include "tests/common/TempDir.h"

#include <QList>
#include <QProcess>

// A real HTTP proxy for one test: Debian's tinyproxy on a free loopback port,
// in the foreground, with its own configuration that allows CONNECT to the
// given ports only (its default allows 443 and 563). Stopped at the end.
class TinyProxy
{
public:
    TinyProxy() = default;
    ~TinyProxy();
    TinyProxy(const TinyProxy&) = delete;
    TinyProxy& operator=(const TinyProxy&) = delete;

    static bool Available();
    // Waits, at most 10 s, until it accepts connections; port 0 takes a free
    // one, a given port restarts it where it was.
    bool Start(const QList<quint16>& connectPorts, quint16 port = 0);
    quint16 Port() const { return m_port; }

    void Kill();    // SIGKILL: every tunnel through it drops
    void Suspend(); // SIGSTOP: tunnels stall, new ones are accepted and never answered
    void Resume();  // SIGCONT

private:
    TempDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
