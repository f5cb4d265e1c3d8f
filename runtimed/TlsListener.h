#pragma once

#include <QSet>
#include <QSslConfiguration>
#include <QTcpServer>

#include <optional>

class QSslSocket;

// The runtime's listening socket. Plain, it hands out connections as they
// come. With TLS required it hands out a connection only once its TLS
// handshake is done (a QSslSocket, read and written like any socket); a
// client that opens with anything but a TLS handshake gets a TLS alert,
// which no client of the plain protocol takes for a runtime's reply, and is
// closed. A handshake has the I/O time-out.
class TlsListener : public QTcpServer
{
    Q_OBJECT
public:
    explicit TlsListener(QObject* parent = nullptr);

    void RequireTls(const QSslConfiguration& configuration, int ioMs, int maxHandshakes);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void Inspect(QSslSocket* socket);
    void Admit(QSslSocket* socket);
    void Drop(QSslSocket* socket);

    std::optional<QSslConfiguration> m_configuration;
    int m_ioMs = 0;
    int m_maxHandshakes = 0;
    QSet<QSslSocket*> m_handshaking;
};
