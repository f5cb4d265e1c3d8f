#pragma once

#include "platform/WinTypes.h"

#include <QString>

// Texts of the string table about connecting, filled in.
class ConnectionMessages
{
public:
    // Why a secure connection to the server was refused, for the results of
    // VtSetTransportSecurity's checks and of the SCRAM login; empty for any
    // other result.
    static QString SecurityRefusal(HRESULT result, const QString& serverLabel);
};
