#pragma once

#include <QLoggingCategory>

// The grid's misuse warnings (gridext/ too); silent unless switched on, e.g.
// QT_LOGGING_RULES="quillon.grid.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcGrid)
