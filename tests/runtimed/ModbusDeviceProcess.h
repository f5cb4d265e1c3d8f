#pragma once

#include <QList>
#include <QProcess>
#include <QString>

// A Modbus TCP device for one test: Debian's pymodbus server on loopback
// (tests/runtimed/modbus_device.py) with `size` addresses in each table, whose
// registers the test sets and reads through the script's control channel.
// Killed at the end.
class ModbusDeviceProcess
{
public:
    ModbusDeviceProcess() = default;
    ~ModbusDeviceProcess();
    ModbusDeviceProcess(const ModbusDeviceProcess&) = delete;
    ModbusDeviceProcess& operator=(const ModbusDeviceProcess&) = delete;

    // Port 0 takes a free one; a given one restarts the device where it was.
    bool Start(quint16 port = 0, int size = 100);
    quint16 Port() const { return m_port; }
    void Kill();

    // TABLE is co, di, ir or hr.
    bool Set(const QString& table, int address, const QList<int>& values);
    QList<int> Get(const QString& table, int address, int count);

private:
    QString Command(const QString& line);

    QProcess m_process;
    quint16 m_port = 0;
};
