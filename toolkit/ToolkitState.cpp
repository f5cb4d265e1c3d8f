#include "ToolkitState.h"

#include <algorithm>

ToolkitState& ToolkitState::Instance()
{
    static ToolkitState state;
    return state;
}

void ToolkitState::Stop()
{
    m_active = nullptr;
    m_connections.clear();
    m_credentials = {};
    m_tls = false;
    m_caFile.clear();
    m_refusedFingerprint.clear();
    m_started = false;
}

void ToolkitState::SetCredentials(const QString& user, const QString& password)
{
    m_credentials = {user, password, true};
}

void ToolkitState::SetSecurity(bool tls, const QString& caFile)
{
    m_tls = tls || !caFile.isEmpty();
    m_caFile = caFile;
}

VtConnection* ToolkitState::Create()
{
    m_connections.push_back(std::make_unique<VtConnection>(m_nextGeneration++));
    return m_connections.back().get();
}

VtConnection* ToolkitState::Find(VtHandle handle) const
{
    if (!handle)
        return nullptr;
    const auto it =
        std::find_if(m_connections.begin(), m_connections.end(), [handle](const auto& c) { return c.get() == handle; });
    return it != m_connections.end() ? it->get() : nullptr;
}

void ToolkitState::Destroy(VtHandle handle)
{
    if (m_active == handle && handle)
        m_active = nullptr;
    std::erase_if(m_connections, [handle](const auto& c) { return c.get() == handle; });
}

void ToolkitState::Activate(VtHandle handle)
{
    if (VtConnection* c = Find(handle))
        m_active = c;
}
