#include "CFont.h"

BOOL CFont::CreateFontIndirect(const LOGFONTW* lf)
{
    if (!lf || m_bCreated)
        return FALSE;
    m_logFont = *lf;
    m_font = QFontFromLogFont(*lf);
    m_bCreated = true;
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    if (!m_bCreated)
        return FALSE;
    m_bCreated = false;
    m_logFont = LOGFONTW{};
    m_font = QFont();
    return TRUE;
}

int CFont::GetLogFont(LOGFONTW* lf) const
{
    if (!lf || !m_bCreated)
        return 0;
    *lf = m_logFont;
    return static_cast<int>(sizeof(LOGFONTW));
}
