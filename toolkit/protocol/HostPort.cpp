#include "HostPort.h"

#include <algorithm>

namespace {

bool ValidHostCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_' || c == u':' || c == u'%';
}

} // namespace

bool HostPort::Parse(const QString& text, int defaultPort, HostPort& out)
{
    QString s = text.trimmed();
    if (s.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        s.remove(0, 7);
    if (s.endsWith(u'/'))
        s.chop(1);
    QString host = s;
    QString port;
    if (s.startsWith(u'[')) {
        const qsizetype close = s.indexOf(u']');
        if (close < 0)
            return false;
        host = s.mid(1, close - 1);
        const QString rest = s.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':'))
            return false;
        port = rest.mid(1);
        if (rest == QLatin1String(":"))
            return false;
    } else if (s.count(u':') == 1) {
        host = s.section(u':', 0, 0);
        port = s.section(u':', 1);
        if (port.isEmpty())
            return false;
    } else if (s.contains(u':')) {
        return false; // a bare IPv6 address needs brackets to carry a port
    }
    if (host.isEmpty() || host.size() > kMaxHostLength || !std::all_of(host.begin(), host.end(), ValidHostCharacter))
        return false;
    bool ok = !port.isEmpty();
    const int number = ok ? port.toInt(&ok) : defaultPort;
    if (!ok && !port.isEmpty())
        return false;
    if (number < 1 || number > 65535)
        return false;
    out.host = host;
    out.port = number;
    return true;
}

QString HostPort::Authority() const
{
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}
