#pragma once

#include "VtConnection.h"

#include <memory>
#include <vector>

// What the toolkit keeps between calls: whether it is started, the credentials
// of the last LogOn, the open connections and the active one. Handles from the
// program are checked against the open connections before use, so a stale or
// foreign handle is refused instead of followed.
class ToolkitState
{
public:
    static ToolkitState& Instance();

    bool Started() const { return m_started; }
    void Start() { m_started = true; }
    // Closes every connection and forgets the credentials.
    void Stop();

    void SetCredentials(const QString& user, const QString& password);
    const VtConnection::Credentials& Credentials() const { return m_credentials; }

    // TLS settings for the connections made from now on.
    void SetSecurity(bool tls, const QString& caFile);
    bool Tls() const { return m_tls; }
    const QString& CaFile() const { return m_caFile; }
    // What the last refused TLS handshake was shown.
    void SetRefusedFingerprint(const QString& fingerprint) { m_refusedFingerprint = fingerprint; }
    const QString& RefusedFingerprint() const { return m_refusedFingerprint; }

    VtConnection* Create();
    VtConnection* Find(VtHandle handle) const;
    void Destroy(VtHandle handle);

    void Activate(VtHandle handle);
    // The connection that tag and expression operations use; null if none.
    VtConnection* Active() const { return m_active; }

private:
    bool m_started = false;
    bool m_tls = false;
    QString m_caFile;
    QString m_refusedFingerprint;
    VtConnection::Credentials m_credentials;
    std::vector<std::unique_ptr<VtConnection>> m_connections;
    VtConnection* m_active = nullptr;
    std::uint32_t m_nextGeneration = 1;
};
