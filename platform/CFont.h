#pragma once

#include "LogFont.h"
#include "WinTypes.h"

#include <QFont>

// A GDI font object: empty until created from a LOGFONTW, then the realisation
// of that description as a QFont (the escapement is kept beside it, since a
// QFont cannot carry a direction).
class CFont
{
public:
    BOOL CreateFontIndirect(const LOGFONTW* lf);
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }
    int GetLogFont(LOGFONTW* lf) const;

    const QFont& GetQFont() const { return m_font; }
    LONG GetEscapement() const { return m_logFont.lfEscapement; }

private:
    bool m_bCreated = false;
    LOGFONTW m_logFont{};
    QFont m_font;
};
