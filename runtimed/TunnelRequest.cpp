#include "TunnelRequest.h"

#include <QRegularExpression>

TunnelRequest::Result TunnelRequest::Parse(const QByteArray& bytes, HostPort& target, qsizetype& headLength)
{
    qsizetype end = bytes.indexOf("\r\n\r\n");
    qsizetype separator = 4;
    const qsizetype bareEnd = bytes.indexOf("\n\n");
    if (bareEnd >= 0 && (end < 0 || bareEnd < end)) {
        end = bareEnd;
        separator = 2;
    }
    if (end < 0)
        return bytes.size() > kMaxHeadBytes ? Result::Invalid : Result::Incomplete;
    if (end + separator > kMaxHeadBytes)
        return Result::Invalid;
    headLength = end + separator;
    const QByteArray line = bytes.left(bytes.indexOf('\n')).trimmed();
    static const QRegularExpression kLine(QStringLiteral("^CONNECT (\\S+) HTTP/1\\.[01]$"));
    const QRegularExpressionMatch m = kLine.match(QString::fromLatin1(line));
    return m.hasMatch() && HostPort::Parse(m.captured(1), 0, target) ? Result::Valid : Result::Invalid;
}
