#include "HttpTunnel.h"

#include "SocketChannel.h"

#include <QRegularExpression>

bool HttpTunnel::ReadHead(SocketChannel& channel, const Deadline& deadline, QByteArray& head)
{
    // One byte at a time: whatever follows the head belongs to the runtime and
    // must stay in the socket for the frames read after it.
    head.clear();
    while (head.size() < kMaxResponseBytes) {
        char c = 0;
        if (!channel.Receive(&c, 1, deadline))
            return false;
        head.append(c);
        if (head.endsWith("\r\n\r\n") || head.endsWith("\n\n"))
            return true;
    }
    return false;
}

bool HttpTunnel::Open(SocketChannel& channel, const HostPort& to, const Deadline& deadline, QString& error)
{
    const QByteArray authority = to.Authority().toUtf8();
    const QByteArray request = "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\n\r\n";
    QByteArray head;
    if (!channel.Send(request, deadline) || !ReadHead(channel, deadline, head)) {
        error = QStringLiteral("no answer to CONNECT %1").arg(QString::fromUtf8(authority));
        return false;
    }
    static const QRegularExpression kStatus(QStringLiteral("^HTTP/1\\.[01] ([0-9]{3})([^\\r\\n]*)"));
    const QRegularExpressionMatch m = kStatus.match(QString::fromLatin1(head));
    if (!m.hasMatch()) {
        error = QStringLiteral("the answer to CONNECT is not HTTP");
        return false;
    }
    if (m.captured(1).startsWith(u'2'))
        return true;
    error = QStringLiteral("CONNECT %1 refused: %2%3").arg(QString::fromUtf8(authority), m.captured(1), m.captured(2));
    return false;
}
