#pragma once

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>

// A TCP relay on loopback that records every byte it passes, both ways, the
// way someone on the wire would see them. It runs on its own thread, so the
// blocking toolkit calls of a test can go through it.
class RecordingRelay
{
public:
    explicit RecordingRelay(quint16 targetPort);
    ~RecordingRelay();
    RecordingRelay(const RecordingRelay&) = delete;
    RecordingRelay& operator=(const RecordingRelay&) = delete;

    quint16 Port() const { return m_port; }
    QByteArray Capture() const;

private:
    void Run();

    quint16 m_targetPort;
    quint16 m_port = 0;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    mutable std::mutex m_mutex;
    QByteArray m_capture;
    std::thread m_thread;
};
