#pragma once

#include "platform/MessageBox.h"
#include "platform/Profile.h"

#include <QString>
#include <QStringList>

// For one test: the program's settings file is a scratch one, and message
// boxes are recorded and answered instead of shown. Both are put back after.
class ScratchSettings
{
public:
    explicit ScratchSettings(const QString& iniPath) : m_savedProfile(GetProfileFileName())
    {
        SetProfileFileName(iniPath);
        m_savedHandler = SetMessageBoxHandler([this](const QString& text, const QString&, UINT) {
            messages << text;
            return IDOK;
        });
    }
    ~ScratchSettings()
    {
        SetMessageBoxHandler(m_savedHandler);
        SetProfileFileName(m_savedProfile);
    }
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    QStringList messages;

private:
    QString m_savedProfile;
    MessageBoxHandler m_savedHandler;
};
