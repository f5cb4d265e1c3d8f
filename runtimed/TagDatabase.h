#pragma once

#include "Tag.h"
#include "devices/Device.h"
#include "toolkit/protocol/Protocol.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The plant's tags. Ids are indexes, stable for the life of the process; names
// are matched without regard to letter case.
class TagDatabase
{
public:
    // False when the name is taken (in any letter case) or not a valid tag name.
    bool Add(Tag tag);
    int Find(const QString& name) const;
    const Tag* Get(int id) const;
    int Count() const { return static_cast<int>(m_tags.size()); }

    // A client's write: checks access, converts to the tag's type. A device
    // tag's write returns nothing and answers through `done` once the device
    // has confirmed or refused it; every other write is answered at once.
    std::optional<vtproto::Status> Write(int id, const RuntimeValue& value, Device::WriteDone done);
    // The simulation's update; keeps the tag's quality.
    void Update(int id, const RuntimeValue& value);
    // A device's reading: a value of type None keeps the last value.
    void SetReading(int id, const RuntimeValue& value, std::uint16_t quality);

    // Devices are found by name without regard to letter case; -1 when unknown.
    void AddDevice(std::unique_ptr<Device> device);
    int FindDevice(const QString& name) const;
    int DeviceCount() const { return static_cast<int>(m_devices.size()); }
    Device* DeviceOf(int id) const;
    void StartDevices();

    std::vector<Tag>& Tags() { return m_tags; }

private:
    void Store(Tag& tag, const RuntimeValue& value);

    std::vector<Tag> m_tags;
    QHash<QString, int> m_index; // by lower-case name
    QHash<QString, int> m_exact; // by name as the plant writes it
    // After the tags: the devices' pollers stop before the tags they fill go.
    std::vector<std::unique_ptr<Device>> m_devices;
};
