#pragma once

#include "platform/WinTypes.h"
#include "runtime/VantelToolkit.h"

#include <QString>

// What the watch grid needs from the window that holds it: the connection and
// the application's mapping of a row's text to the text the toolkit gets. The
// grid finds it as its parent window, so tests can host the grid without the
// main window.
class CWatchGridHost
{
public:
    virtual BOOL IsConnected() const = 0;
    virtual VtHandle GetConnection() const = 0;
    // Closes the connection and shows the window as disconnected.
    virtual void MarkDisconnected() = 0;
    virtual QString MapTagText(const QString& text) const = 0;

protected:
    ~CWatchGridHost() = default;
};
