#include "ModbusTcpDevice.h"

#include "runtimed/TagDatabase.h"

#include <QTimer>

ModbusTcpDevice::ModbusTcpDevice(ModbusTcpSettings settings, TagDatabase& tags, QObject* parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_tags(tags)
{
}

// The poller goes first: once its thread has ended nothing posts to this
// object any more, and what it posted is dropped with the object.
ModbusTcpDevice::~ModbusTcpDevice()
{
    m_poller.reset();
}

void ModbusTcpDevice::Start()
{
    if (m_poller)
        return;
    std::vector<ModbusRead::Member> members;
    for (int id = 0; id < m_tags.Count(); ++id) {
        const Tag* tag = m_tags.Get(id);
        if (m_tags.DeviceOf(id) == this)
            members.push_back({id, tag->type, tag->point});
    }
    m_poller = std::make_unique<ModbusPoller>(
        m_settings, ModbusRead::Plan(std::move(members)),
        [this](std::vector<ModbusPoller::Reading> readings) {
            QMetaObject::invokeMethod(
                this, [this, readings = std::move(readings)] { Apply(readings); }, Qt::QueuedConnection);
        },
        [this](std::uint64_t ticket, bool ok, ModbusPoller::Reading reading) {
            QMetaObject::invokeMethod(
                this,
                [this, ticket, ok, reading] {
                    if (ok)
                        Apply({reading});
                    Finish(ticket, ok ? vtproto::Status::Ok : vtproto::Status::DeviceError);
                },
                Qt::QueuedConnection);
        });
    m_poller->Start();
}

std::optional<vtproto::Status> ModbusTcpDevice::Write(int tagId, const RuntimeValue& value, WriteDone done)
{
    const Tag* tag = m_tags.Get(tagId);
    ModbusPoller::Write write{++m_nextTicket,
                              {tagId, tag->type, tag->point},
                              {0, 0},
                              std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteDeadlineMs)};
    if (!tag->point.Encode(value, write.words))
        return vtproto::Status::BadValue;
    if (!m_poller)
        return vtproto::Status::DeviceError;
    m_pending.insert(write.ticket, std::move(done));
    QTimer::singleShot(kWriteDeadlineMs, this,
                       [this, ticket = write.ticket] { Finish(ticket, vtproto::Status::DeviceError); });
    m_poller->Queue(write);
    return std::nullopt;
}

void ModbusTcpDevice::Apply(const std::vector<ModbusPoller::Reading>& readings)
{
    for (const ModbusPoller::Reading& r : readings)
        m_tags.SetReading(r.tagId, r.value, r.quality);
}

// Whichever comes first, the device's answer or the deadline, answers the
// client; the other finds nothing left to do.
void ModbusTcpDevice::Finish(std::uint64_t ticket, vtproto::Status status)
{
    const WriteDone done = m_pending.take(ticket);
    if (done)
        done(status);
}
