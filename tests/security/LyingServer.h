#pragma once

#include "toolkit/protocol/Protocol.h"

#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// A runtime impostor on a thread of its own: it accepts one client and answers
// each request with what the script returns, length prefix included, so that
// tests can send replies no runtime would. An empty answer closes the line, and
// so does every answer of a server told to hang up.
class LyingServer
{
public:
    using Script = std::function<QByteArray(vtproto::Request type, std::uint32_t sequence)>;

    explicit LyingServer(Script script, bool hangUp = false);
    ~LyingServer();
    LyingServer(const LyingServer&) = delete;
    LyingServer& operator=(const LyingServer&) = delete;

    quint16 Port() const { return m_port; }

    // An honest frame around a reply, and the body of an honest greeting.
    static QByteArray Frame(const QByteArray& payload);
    static QByteArray Honest(vtproto::Request type, std::uint32_t sequence, const QByteArray& body,
                             vtproto::Status status = vtproto::Status::Ok);
    static QByteArray Greeting();

private:
    Script m_script;
    bool m_hangUp;
    std::atomic<quint16> m_port{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
