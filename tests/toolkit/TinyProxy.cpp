#include "TinyProxy.h"

#include "FreePort.h"
#include "ProcessSignal.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpSocket>

TinyProxy::~TinyProxy()
{
    Resume();
    Kill();
}

void TinyProxy::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

void TinyProxy::Suspend()
{
    SignalIfRunning(m_process, SIGSTOP);
}

void TinyProxy::Resume()
{
    SignalIfRunning(m_process, SIGCONT);
}

bool TinyProxy::Available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("tinyproxy")).isEmpty();
}

bool TinyProxy::Start(const QList<quint16>& connectPorts, quint16 port)
{
    m_port = port != 0 ? port : FreePort();
    QString config = QStringLiteral("Port %1\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
                                    "LogLevel Critical\n")
                         .arg(m_port);
    for (quint16 port : connectPorts)
        config += QStringLiteral("ConnectPort %1\n").arg(port);
    m_dir.Write(QStringLiteral("tinyproxy.conf"), config.toUtf8());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("tinyproxy"),
                    {QStringLiteral("-d"), QStringLiteral("-c"), m_dir.File("tinyproxy.conf")});
    if (!m_process.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (probe.waitForConnected(200))
            return true;
        m_process.waitForFinished(50); // lets a proxy that failed to start be seen as ended
    }
    return false;
}
