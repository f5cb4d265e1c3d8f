#pragma once

#include "runtime/VantelToolkit.h"

#include <QString>

static_assert(sizeof(QChar) == sizeof(VtChar), "QString and the toolkit share UTF-16 code units");

// The toolkit's text parameters take a QString's own storage: it is UTF-16 and
// always NUL-terminated. The pointer is valid while the string is unchanged and
// alive. Inline, so that callers need none of the toolkit's internals.
inline const VtChar* VtText(const QString& text)
{
    return reinterpret_cast<const VtChar*>(text.utf16());
}
