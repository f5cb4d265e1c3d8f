#pragma once

#include <QLoggingCategory>

// The cells' misuse warnings; silent unless switched on, e.g.
// QT_LOGGING_RULES="quillon.cells.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcCells)
