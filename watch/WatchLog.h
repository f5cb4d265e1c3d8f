#pragma once

#include <QLoggingCategory>

// Diagnostics of the watch grid: its operations called against their contract.
// Silent unless switched on: QT_LOGGING_RULES="quillon.watch.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcWatch)
