#include "ModbusDeviceProcess.h"

#include <QDeadlineTimer>

namespace {

// Waits at most until `deadline` for one line of the script's output.
QString ReadLine(QProcess& process, const QDeadlineTimer& deadline)
{
    while (!process.canReadLine())
        if (deadline.hasExpired() || !process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return {};
    return QString::fromUtf8(process.readLine()).trimmed();
}

} // namespace

ModbusDeviceProcess::~ModbusDeviceProcess()
{
    Kill();
}

bool ModbusDeviceProcess::Start(quint16 port, int size)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's interpreter, the one with python3-pymodbus, whatever is first on PATH.
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(QUILLON_MODBUS_DEVICE_SCRIPT), QString::number(port), QString::number(size)});
    if (!m_process.waitForStarted(10000))
        return false;
    const QString line = ReadLine(m_process, QDeadlineTimer(15000));
    if (!line.startsWith(QLatin1String("listening ")))
        return false;
    m_port = static_cast<quint16>(line.section(' ', 1).toUInt());
    return m_port != 0;
}

void ModbusDeviceProcess::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

bool ModbusDeviceProcess::Set(const QString& table, int address, const QList<int>& values)
{
    QStringList words{QStringLiteral("set"), table, QString::number(address)};
    for (int v : values)
        words << QString::number(v);
    return Command(words.join(' ')) == QLatin1String("ok");
}

QList<int> ModbusDeviceProcess::Get(const QString& table, int address, int count)
{
    QList<int> values;
    for (const QString& word :
         Command(QStringLiteral("get %1 %2 %3").arg(table).arg(address).arg(count)).split(' ', Qt::SkipEmptyParts))
        values << word.toInt();
    return values;
}

QString ModbusDeviceProcess::Command(const QString& line)
{
    m_process.write((line + '\n').toUtf8());
    m_process.waitForBytesWritten(5000);
    return ReadLine(m_process, QDeadlineTimer(5000));
}
