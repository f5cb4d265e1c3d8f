#pragma once

#include <QLoggingCategory>

// Diagnostics of the program's start-up and main window.
// Silent unless switched on: QT_LOGGING_RULES="quillon.app.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcApp)
