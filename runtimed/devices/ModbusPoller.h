#pragma once

#include "ModbusReadPlan.h"

#include <QString>
#include <modbus/modbus.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

struct ModbusTcpSettings
{
    QString name;
    QString host;
    int port = 502;
    int unit = 1;
    double pollSeconds = 0.5;
    double timeoutSeconds = 1.0;
};

// The thread that talks to one Modbus TCP device through libmodbus: it reads
// every point once per poll period, runs queued writes first, and reconnects
// with a growing pause after a failure. It reports through the sinks, which
// run on its own thread.
class ModbusPoller
{
public:
    struct Reading
    {
        int tagId;
        RuntimeValue value; // None: keep the last value
        std::uint16_t quality;
    };
    struct Write
    {
        std::uint64_t ticket;
        ModbusRead::Member member;
        std::uint16_t words[2];
        // The client has been told of a failure by then: not sent any more.
        std::chrono::steady_clock::time_point expires;
    };
    using ReadingsSink = std::function<void(std::vector<Reading>)>;
    // ok is false when the device refused the write or did not confirm it.
    using WriteSink = std::function<void(std::uint64_t ticket, bool ok, Reading reading)>;

    ModbusPoller(ModbusTcpSettings settings, std::vector<ModbusRead> plan, ReadingsSink readings, WriteSink writes);
    ~ModbusPoller(); // stops the thread, cutting short a request under way, and waits for it
    ModbusPoller(const ModbusPoller&) = delete;
    ModbusPoller& operator=(const ModbusPoller&) = delete;

    void Start();
    void Queue(const Write& write);

    static constexpr std::chrono::milliseconds kFirstRetry{250};
    static constexpr std::chrono::milliseconds kMaxRetry{5000};

private:
    using Clock = std::chrono::steady_clock;
    enum class Outcome { Ok, Exception, Broken };

    void Run();
    void Poll();
    void Execute(const Write& write);
    bool Connect();
    void Disconnect(std::uint16_t quality, std::vector<Reading>& readings);
    void Close();
    Outcome Read(ModbusPoint::Table table, int first, int count, std::uint16_t* words);
    Outcome ReadAlone(const ModbusRead::Member& m, std::vector<Reading>& readings);
    void Failed(std::uint16_t quality);
    void MarkAll(std::uint16_t quality, std::vector<Reading>& readings) const;
    Outcome Classify(int rc) const;

    ModbusTcpSettings m_settings;
    std::vector<ModbusRead> m_plan;
    ReadingsSink m_readings;
    WriteSink m_writes;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Write> m_queue;
    bool m_stop = false;
    std::thread m_thread;
    // The open connection's socket, for the stop to shut down under a request
    // that would otherwise wait out its time-out; -1 while there is none.
    std::mutex m_socketMutex;
    int m_socket = -1;

    // Only the poller's thread touches these.
    modbus_t* m_context = nullptr;
    bool m_connected = false;
    Clock::time_point m_retryAt{};
    std::chrono::milliseconds m_retryPause = kFirstRetry;
    std::uint16_t m_failure = 0; // the quality of the last failure, kept until a reconnect
};
