#pragma once

#include <QProcess>
#include <QStringList>

// A real VantelRuntime for one test, started from the build's bin folder on a
// free port (or a given one, to restart it where it was). Killed at the end.
class RuntimeProcess
{
public:
    RuntimeProcess() = default;
    ~RuntimeProcess();
    RuntimeProcess(const RuntimeProcess&) = delete;
    RuntimeProcess& operator=(const RuntimeProcess&) = delete;

    // Starts with --port (0 = any free one) and the extra arguments; waits, at
    // most 10 s, for the "listening on" line.
    bool Start(const QStringList& arguments = {}, quint16 port = 0);
    quint16 Port() const { return m_port; }

    void Kill();     // SIGKILL, and waits until it is gone
    int Terminate(); // SIGTERM; the exit code, -1 if it did not end normally
    void Suspend();  // SIGSTOP
    void Resume();   // SIGCONT

    static QString Executable();

private:
    QProcess m_process;
    quint16 m_port = 0;
};
