#include "TagDatabase.h"

#include "ValueConverter.h"
#include "toolkit/protocol/FileTimeClock.h"
#include "toolkit/protocol/TagName.h"

bool TagDatabase::Add(Tag tag)
{
    const QString key = tag.name.toLower();
    if (!TagName::IsValid(tag.name) || m_index.contains(key))
        return false;
    if (tag.timeStamp == 0)
        tag.timeStamp = FileTimeClock::Now();
    m_index.insert(key, Count());
    m_exact.insert(tag.name, Count());
    m_tags.push_back(std::move(tag));
    return true;
}

// Names are unique without regard to case, so a name found as written is the
// tag the case-blind look-up finds; most names come as written, and lowering
// each would cost a refresh of many rows more than the look-up itself.
int TagDatabase::Find(const QString& name) const
{
    const auto exact = m_exact.constFind(name);
    return exact != m_exact.cend() ? exact.value() : m_index.value(name.toLower(), -1);
}

const Tag* TagDatabase::Get(int id) const
{
    return id >= 0 && id < Count() ? &m_tags[static_cast<std::size_t>(id)] : nullptr;
}

std::optional<vtproto::Status> TagDatabase::Write(int id, const RuntimeValue& value, Device::WriteDone done)
{
    if (!Get(id))
        return vtproto::Status::UnknownTag;
    Tag& tag = m_tags[static_cast<std::size_t>(id)];
    if (!tag.writable)
        return vtproto::Status::ReadOnly;
    RuntimeValue converted;
    if (!ValueConverter::Convert(value, tag.type, converted))
        return vtproto::Status::BadValue;
    if (Device* device = DeviceOf(id))
        return device->Write(id, converted, std::move(done));
    Store(tag, converted);
    return vtproto::Status::Ok;
}

void TagDatabase::Update(int id, const RuntimeValue& value)
{
    if (Get(id))
        Store(m_tags[static_cast<std::size_t>(id)], value);
}

void TagDatabase::Store(Tag& tag, const RuntimeValue& value)
{
    tag.value = value;
    tag.timeStamp = FileTimeClock::Now();
}

void TagDatabase::SetReading(int id, const RuntimeValue& value, std::uint16_t quality)
{
    if (!Get(id))
        return;
    Tag& tag = m_tags[static_cast<std::size_t>(id)];
    if (value.GetType() != RuntimeValue::Type::None)
        Store(tag, value);
    tag.quality = quality;
}

void TagDatabase::AddDevice(std::unique_ptr<Device> device)
{
    m_devices.push_back(std::move(device));
}

int TagDatabase::FindDevice(const QString& name) const
{
    for (std::size_t i = 0; i < m_devices.size(); ++i)
        if (m_devices[i]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

Device* TagDatabase::DeviceOf(int id) const
{
    const Tag* tag = Get(id);
    return tag && tag->device >= 0 ? m_devices[static_cast<std::size_t>(tag->device)].get() : nullptr;
}

void TagDatabase::StartDevices()
{
    for (const auto& device : m_devices)
        device->Start();
}
