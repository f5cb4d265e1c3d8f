#include "ModbusPoller.h"

#include "DeviceQuality.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

ModbusPoller::ModbusPoller(ModbusTcpSettings settings, std::vector<ModbusRead> plan, ReadingsSink readings,
                           WriteSink writes)
    : m_settings(std::move(settings))
    , m_plan(std::move(plan))
    , m_readings(std::move(readings))
    , m_writes(std::move(writes))
{
}

ModbusPoller::~ModbusPoller()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    {
        std::lock_guard lock(m_socketMutex);
        if (m_socket >= 0)
            ::shutdown(m_socket, SHUT_RDWR);
    }
    if (m_thread.joinable())
        m_thread.join();
    if (m_context) {
        Close();
        modbus_free(m_context);
    }
}

void ModbusPoller::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void ModbusPoller::Queue(const Write& write)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(write);
    }
    m_wake.notify_all();
}

void ModbusPoller::Run()
{
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(m_settings.pollSeconds));
    auto nextPoll = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        m_wake.wait_until(lock, nextPoll, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            break;
        // A write waits for no poll: the client that sent it is waiting.
        if (!m_queue.empty()) {
            const Write write = m_queue.front();
            m_queue.pop_front();
            lock.unlock();
            Execute(write);
            lock.lock();
            continue;
        }
        if (Clock::now() < nextPoll)
            continue;
        // A poll that overran its period starts the next one from now rather
        // than firing a burst to catch up.
        nextPoll = std::max(nextPoll + period, Clock::now());
        lock.unlock();
        Poll();
        lock.lock();
    }
}

void ModbusPoller::Poll()
{
    std::vector<Reading> readings;
    if (!m_connected) {
        const bool due = Clock::now() >= m_retryAt;
        if (!due || !Connect()) {
            if (due)
                Failed(DeviceQuality::kNotConnected);
            MarkAll(m_failure, readings);
            m_readings(std::move(readings));
            return;
        }
    }
    bool broken = false;
    std::uint16_t words[ModbusRead::kMaxBits];
    for (auto read = m_plan.cbegin(); read != m_plan.cend() && !broken; ++read) {
        const Outcome outcome = Read(read->table, read->first, read->count, words);
        if (outcome == Outcome::Ok) {
            for (const ModbusRead::Member& m : read->members)
                readings.push_back(
                    {m.tagId, m.point.Decode(words + (m.point.address - read->first), m.type), DeviceQuality::kGood});
        } else if (outcome == Outcome::Exception) {
            // One bad address must not hide the good ones beside it.
            for (auto m = read->members.cbegin(); m != read->members.cend() && !broken; ++m)
                broken = ReadAlone(*m, readings) == Outcome::Broken;
        } else {
            broken = true;
        }
    }
    // The rest of a broken poll would only wait out the same time-out one by one.
    if (broken)
        Disconnect(DeviceQuality::kCommFailure, readings);
    else
        m_retryPause = kFirstRetry;
    m_readings(std::move(readings));
}

ModbusPoller::Outcome ModbusPoller::ReadAlone(const ModbusRead::Member& m, std::vector<Reading>& readings)
{
    std::uint16_t words[2] = {0, 0};
    const Outcome outcome = Read(m.point.table, m.point.address, m.point.Width(), words);
    if (outcome == Outcome::Ok)
        readings.push_back({m.tagId, m.point.Decode(words, m.type), DeviceQuality::kGood});
    else if (outcome == Outcome::Exception)
        readings.push_back({m.tagId, RuntimeValue(), DeviceQuality::kExceptionReply});
    return outcome;
}

ModbusPoller::Outcome ModbusPoller::Read(ModbusPoint::Table table, int first, int count, std::uint16_t* words)
{
    int rc = -1;
    if (table == ModbusPoint::Table::Holding || table == ModbusPoint::Table::Input) {
        rc = table == ModbusPoint::Table::Holding ? modbus_read_registers(m_context, first, count, words)
                                                  : modbus_read_input_registers(m_context, first, count, words);
        return rc == count || rc < 0 ? Classify(rc) : Outcome::Broken;
    }
    std::uint8_t bits[ModbusRead::kMaxBits];
    rc = table == ModbusPoint::Table::Coil ? modbus_read_bits(m_context, first, count, bits)
                                           : modbus_read_input_bits(m_context, first, count, bits);
    if (rc != count)
        return rc < 0 ? Classify(rc) : Outcome::Broken;
    std::copy(bits, bits + count, words);
    return Outcome::Ok;
}

void ModbusPoller::Execute(const Write& write)
{
    const ModbusPoint& point = write.member.point;
    int rc = -1;
    const bool sent = Clock::now() < write.expires && (m_connected || Connect());
    if (sent) {
        if (point.table == ModbusPoint::Table::Coil)
            rc = modbus_write_bit(m_context, point.address, write.words[0] ? 1 : 0);
        else if (point.Width() == 1)
            rc = modbus_write_register(m_context, point.address, write.words[0]);
        else
            rc = modbus_write_registers(m_context, point.address, 2, write.words);
    }
    const bool ok = sent && rc >= 0;
    if (sent && !ok && Classify(rc) == Outcome::Broken) {
        std::vector<Reading> readings;
        Disconnect(DeviceQuality::kCommFailure, readings);
        m_readings(std::move(readings));
    }
    // What the device now holds is what it confirmed.
    m_writes(
        write.ticket, ok,
        {write.member.tagId, ok ? point.Decode(write.words, write.member.type) : RuntimeValue(), DeviceQuality::kGood});
}

bool ModbusPoller::Connect()
{
    if (!m_context) {
        m_context =
            modbus_new_tcp_pi(m_settings.host.toUtf8().constData(), QByteArray::number(m_settings.port).constData());
        if (!m_context)
            return false;
        const double whole = std::floor(m_settings.timeoutSeconds);
        const auto seconds = static_cast<std::uint32_t>(whole);
        const auto micros = static_cast<std::uint32_t>((m_settings.timeoutSeconds - whole) * 1e6);
        modbus_set_response_timeout(m_context, seconds, micros);
        modbus_set_byte_timeout(m_context, seconds, micros);
        modbus_set_slave(m_context, m_settings.unit);
    }
    m_connected = modbus_connect(m_context) == 0;
    if (!m_connected) {
        modbus_close(m_context);
        return false;
    }
    std::lock_guard lock(m_socketMutex);
    m_socket = modbus_get_socket(m_context);
    return true;
}

void ModbusPoller::Close()
{
    {
        std::lock_guard lock(m_socketMutex);
        m_socket = -1;
    }
    modbus_close(m_context);
}

void ModbusPoller::Disconnect(std::uint16_t quality, std::vector<Reading>& readings)
{
    Close();
    m_connected = false;
    Failed(quality);
    readings.clear();
    MarkAll(quality, readings);
}

void ModbusPoller::Failed(std::uint16_t quality)
{
    m_failure = quality;
    m_retryAt = Clock::now() + m_retryPause;
    m_retryPause = std::min(m_retryPause * 2, kMaxRetry);
}

void ModbusPoller::MarkAll(std::uint16_t quality, std::vector<Reading>& readings) const
{
    for (const ModbusRead& read : m_plan)
        for (const ModbusRead::Member& m : read.members)
            readings.push_back({m.tagId, RuntimeValue(), quality});
}

ModbusPoller::Outcome ModbusPoller::Classify(int rc) const
{
    if (rc >= 0)
        return Outcome::Ok;
    // An exception reply leaves the connection in step; anything else
    // (time-out, reset, a garbled reply) may not have.
    return errno >= EMBXILFUN && errno <= EMBXGTAR ? Outcome::Exception : Outcome::Broken;
}
