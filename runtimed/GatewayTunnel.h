#pragma once

#include "SessionLimits.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// One client of the gateway: reads its CONNECT head, connects to the runtime
// it names, answers 200, and from then on copies bytes both ways until either
// side closes. A bad head gets 400, a runtime that cannot be reached 502, and
// a client too slow with its head, or a tunnel quiet for the idle time-out,
// is closed.
class GatewayTunnel : public QObject
{
    Q_OBJECT
public:
    GatewayTunnel(QTcpSocket* client, const SessionLimits& limits, QObject* parent = nullptr);

signals:
    void Finished(GatewayTunnel* tunnel);

private:
    enum class Phase { ReadingHead, Connecting, Relaying, Closed };

    void ReadHead();
    void Connected();
    void Refuse(const QByteArray& status);
    // Copies what from has to to, while to's unsent bytes stay below the limit.
    void Relay(QTcpSocket* from, QTcpSocket* to);
    void Pump();
    void CheckDeadlines();
    void Close();

    QTcpSocket* m_client;
    QTcpSocket* m_runtime;
    SessionLimits m_limits;
    Phase m_phase = Phase::ReadingHead;
    QByteArray m_head;
    QTimer m_watchdog;
    QElapsedTimer m_clock;
    qint64 m_lastTraffic = 0;
};
