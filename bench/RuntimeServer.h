#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A real VantelRuntime on loopback serving a plant of a given number of tags
// (all four types, three folder levels) or a given plant text, for the
// benchmarks that need the server the program talks to.
class RuntimeServer
{
public:
    // certificates: a folder of TestCertificates; the runtime then speaks TLS
    // with its server certificate.
    explicit RuntimeServer(int tags, const QString& certificates = QString());
    explicit RuntimeServer(const QString& plant, const QString& certificates = QString());
    ~RuntimeServer();
    RuntimeServer(const RuntimeServer&) = delete;
    RuntimeServer& operator=(const RuntimeServer&) = delete;

    // 0 when the runtime could not be started.
    quint16 Port() const { return m_port; }
    qint64 ProcessId() const { return m_process.processId(); }
    // The name of tag i of the plant.
    static QString TagName(int i);
    // The frame sizes of one plain Evaluate of these lines, read off the wire.
    bool FrameSizes(const QStringList& lines, qint64& requestBytes, qint64& replyBytes) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
