#pragma once

#include "RequestHandler.h"
#include "SessionLimits.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class LoginThrottle;
class QTcpSocket;

// One client connection: cuts the byte stream into frames, hands them to its
// RequestHandler, and drops the client when it breaks the frame rules, idles,
// stalls in the middle of a frame, or stops reading its replies. The socket
// may carry TLS; the session reads and writes it the same way. The refusal
// of a failed login is held back as the throttle says, and a device write is
// answered when the device has; nothing more is read from the client meanwhile.
class ClientSession : public QObject
{
    Q_OBJECT
public:
    ClientSession(QTcpSocket* socket, TagDatabase& tags, UserDatabase& users, LoginThrottle& throttle,
                  const SessionLimits& limits, const QByteArray& channelBinding, QObject* parent = nullptr);

signals:
    void Finished(ClientSession* session);

private:
    void Pump();
    bool ReadFrame();
    void SendReply(const QByteArray& reply);
    void HoldReply(const QByteArray& reply, bool close, int delayMs);
    void Resume(const QByteArray& reply, bool close);
    void CheckDeadlines();
    void Close();
    // Reply bytes not yet handed to the kernel, encrypted ones included.
    qint64 Pending() const;

    QTcpSocket* m_socket;
    RequestHandler m_handler;
    LoginThrottle& m_throttle;
    SessionLimits m_limits;
    QTimer m_watchdog;
    QElapsedTimer m_clock;
    qint64 m_lastRequest = 0;  // also the time of connecting
    qint64 m_frameStart = -1;  // a frame has begun and is not complete
    qint64 m_outputSince = -1; // replies have been waiting since
    qint64 m_expected = -1;    // payload length of the frame being read
    QByteArray m_frame;
    bool m_greeted = false;
    bool m_closed = false;
    bool m_holding = false; // a failed login's refusal is held back, or a device write awaits its answer
};
