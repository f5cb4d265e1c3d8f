#include "CellsLog.h"

// Only critical messages pass by default: warnings and debug need a rule.
Q_LOGGING_CATEGORY(lcCells, "quillon.cells", QtCriticalMsg)
