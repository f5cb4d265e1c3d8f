#pragma once

// The toolkit's own messages to the user (a refused logon, a refused text).
// By default they are shown in a message box when the process has a visible
// Qt Widgets application, and written to standard error otherwise, so that a
// headless process never blocks on them. A host or a test may take them over.

#include "runtime/VantelToolkit.h"

#include <QString>

extern "C" {

using VtMessageHandler = void (*)(const VtChar* title, const VtChar* text);

// Installs a handler (null restores the default) and returns the previous one.
VANTEL_API VtMessageHandler VtSetMessageHandler(VtMessageHandler handler);

} // extern "C"

// Shows one message through the installed handler.
void VtShowMessage(const QString& title, const QString& text);
