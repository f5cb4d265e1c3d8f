#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentGuard
{
public:
    ~EnvironmentGuard()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first.constData());
            else
                qputenv(it->first.constData(), it->second);
        }
    }

    void Set(const char* name, const QByteArray& value)
    {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        qputenv(name, value);
    }

    void Unset(const char* name)
    {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        qunsetenv(name);
    }

private:
    QList<QPair<QByteArray, QByteArray>> m_saved;
};
