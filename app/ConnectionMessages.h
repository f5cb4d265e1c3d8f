#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

// Texts of the string table about connecting, filled in.
class ConnectionMessages
{
public:
    // The texts may come from a language library: fills "%s" and "%d" in order
    // without handing the text to a printf-style formatter.
    static QString Format(const QString& format, const QStringList& arguments);
    // Why a secure connection to the server was refused, for the results of
    // VtSetTransportSecurity's checks and of the SCRAM login; empty for any
    // other result.
    static QString SecurityRefusal(HRESULT result, const QString& serverLabel);
};
