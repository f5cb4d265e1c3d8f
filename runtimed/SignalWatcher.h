#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns SIGINT and SIGTERM into a clean end of the event loop: the handler only
// writes a byte to a pipe, the loop reads it and quits.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

signals:
    void Stop();

private:
    static void Handler(int signal);

    std::unique_ptr<QSocketNotifier> m_notifier;
    static int s_fds[2];
};
