#pragma once

#include <QLoggingCategory>

// Diagnostics of the runtime toolkit: its operations called against their contract.
// Silent unless switched on: QT_LOGGING_RULES="quillon.toolkit.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcToolkit)
