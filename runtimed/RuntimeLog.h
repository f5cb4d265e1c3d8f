#pragma once

#include <QLoggingCategory>

// Diagnostics of the runtime server: requests it refuses as malformed.
// Silent unless switched on: QT_LOGGING_RULES="vantel.runtime.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcRuntime)
