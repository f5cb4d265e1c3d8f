#pragma once

#include "Device.h"
#include "ModbusPoller.h"

#include <QHash>
#include <QObject>

#include <memory>

class TagDatabase;

// A Modbus TCP device: its poller's readings land in the tag store, and a
// write is answered when the device confirms it or, at the latest, after
// kWriteDeadlineMs, within the client's own request time-out.
class ModbusTcpDevice : public QObject, public Device
{
    Q_OBJECT
public:
    ModbusTcpDevice(ModbusTcpSettings settings, TagDatabase& tags, QObject* parent = nullptr);
    ~ModbusTcpDevice() override;

    const QString& Name() const override { return m_settings.name; }
    const ModbusTcpSettings& Settings() const { return m_settings; }
    void Start() override;
    std::optional<vtproto::Status> Write(int tagId, const RuntimeValue& value, WriteDone done) override;

    static constexpr int kWriteDeadlineMs = 2500;

private:
    void Apply(const std::vector<ModbusPoller::Reading>& readings);
    void Finish(std::uint64_t ticket, vtproto::Status status);

    ModbusTcpSettings m_settings;
    TagDatabase& m_tags;
    std::unique_ptr<ModbusPoller> m_poller;
    QHash<std::uint64_t, WriteDone> m_pending;
    std::uint64_t m_nextTicket = 0;
};
