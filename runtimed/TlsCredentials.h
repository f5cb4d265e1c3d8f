#pragma once

#include <QByteArray>
#include <QSslConfiguration>
#include <QString>

// The runtime's TLS identity: a PEM certificate (chain) and its private key.
// Loading refuses, naming the file, what would make a runtime that cannot
// serve TLS or that leaks its key: a file missing or unreadable, a key that
// does not fit the certificate, a key file that others than its owner may read.
class TlsCredentials
{
public:
    bool Load(const QString& certificateFile, const QString& keyFile, QString& error);

    // TLS 1.2 at least, 1.3 preferred; clients are not asked for certificates.
    const QSslConfiguration& Configuration() const { return m_configuration; }
    // The tls-server-end-point data logins on this runtime are bound to.
    const QByteArray& ChannelBinding() const { return m_channelBinding; }

    static constexpr qint64 kMaxFileSize = 1024 * 1024;

private:
    QSslConfiguration m_configuration;
    QByteArray m_channelBinding;
};
