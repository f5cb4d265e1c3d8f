#include "RuntimeProcess.h"

#include "ProcessSignal.h"

#include <QDeadlineTimer>
#include <QDir>

RuntimeProcess::~RuntimeProcess()
{
    Kill();
}

QString RuntimeProcess::Executable()
{
    return QDir(qEnvironmentVariable("QUILLON_BIN_DIR")).filePath(QStringLiteral("VantelRuntime"));
}

bool RuntimeProcess::Start(const QStringList& arguments, quint16 port)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(Executable(), QStringList{"--port", QString::number(port)} + arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("VantelRuntime listening on ")))
        return false;
    m_port = static_cast<quint16>(line.section(':', -1).toUInt());
    return m_port != 0;
}

void RuntimeProcess::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

int RuntimeProcess::Terminate()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

void RuntimeProcess::Suspend()
{
    SignalIfRunning(m_process, SIGSTOP);
}

void RuntimeProcess::Resume()
{
    SignalIfRunning(m_process, SIGCONT);
}
