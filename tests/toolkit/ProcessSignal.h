#pragma once

#include <QProcess>

#include <csignal>

// Sends 'signal' to the process only while it runs: a process that has ended
// reports id 0, and kill(0, ...) would reach every process of the group, the
// test and its neighbours under CTest included.
inline void SignalIfRunning(const QProcess& process, int signal)
{
    if (process.state() != QProcess::NotRunning && process.processId() > 0)
        ::kill(static_cast<pid_t>(process.processId()), signal);
}
