#include "WatchLog.h"

// Only critical messages pass by default: the warnings about misused operations are for whoever asks for them.
Q_LOGGING_CATEGORY(lcWatch, "quillon.watch", QtCriticalMsg)
