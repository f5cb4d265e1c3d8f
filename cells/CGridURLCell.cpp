#include "CGridURLCell.h"

#include "grid/CGridCtrl.h"
#include "platform/GdiDefs.h"
#include "platform/SysColors.h"

#include <QCursor>
#include <QDesktopServices>
#include <QUrl>

#include <cstdlib>

IMPLEMENT_DYNCREATE(CGridURLCell, CGridCell)

namespace {

// Searched anywhere in a text, case-sensitive, in this order.
const QStringList& UrlPrefixes()
{
    static const QStringList prefixes = {
        QStringLiteral("www."),   QStringLiteral("http:"), QStringLiteral("mailto:"), QStringLiteral("ftp:"),
        QStringLiteral("https:"), QStringLiteral("news:"), QStringLiteral("gopher:"), QStringLiteral("telnet:"),
        QStringLiteral("url:"),   QStringLiteral("file:"), QStringLiteral("ftp."),
    };
    return prefixes;
}

// The word around index: cut at the first space at or after it, and after
// the last space before that.
QString WordAt(const QString& text, int index)
{
    qsizetype end = text.indexOf(u' ', index);
    if (end < 0)
        end = text.size();
    const QString head = text.left(end);
    return head.mid(head.lastIndexOf(u' ') + 1);
}

} // namespace

CGridURLCell::CGridURLCell() : m_clrUrl(GetSysColor(COLOR_HIGHLIGHT))
{
}

BOOL CGridURLCell::HasUrl(const QString& text)
{
    for (const QString& prefix : UrlPrefixes()) {
        if (text.contains(prefix, Qt::CaseSensitive))
            return TRUE;
    }
    return FALSE;
}

// A cell drawn once with a link keeps the link colour.
BOOL CGridURLCell::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd)
{
    if (HasUrl(GetText()))
        SetTextClr(m_clrUrl);
    m_Rect = rect;
    return CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
}

BOOL CGridURLCell::Edit(int, int, CRect, CPoint, UINT, UINT)
{
    return FALSE;
}

// x in client coordinates.
bool CGridURLCell::OverText(int x, int textWidth) const
{
    const DWORD format = GetFormat();
    if (format & DT_RIGHT)
        return x >= m_Rect.right - textWidth;
    if (format & DT_CENTER)
        return std::abs(x - (m_Rect.left + m_Rect.right) / 2) <= textWidth / 2;
    return x <= m_Rect.left + textWidth;
}

// An estimate from the average character width; -1 outside the text.
int CGridURLCell::CharacterIndexAt(int xCellRelative, int textWidth, int length) const
{
    const DWORD format = GetFormat();
    const int spare = m_Rect.Width() - textWidth;
    int x = xCellRelative;
    if (format & DT_RIGHT) {
        x -= spare;
        if (x <= 0)
            return -1;
    } else if (format & DT_CENTER) {
        x -= spare / 2;
        if (x <= 0 || x > spare / 2 + textWidth)
            return -1;
    }
    const int average = std::max(1, textWidth / length);
    return x / average;
}

BOOL CGridURLCell::OverUrl(CPoint pointCellRelative, QString* url)
{
    const QString text = GetText();
    if (text.isEmpty())
        return FALSE;
    const int width = GetTextExtent(text).cx;
    if (!OverText(pointCellRelative.x + m_Rect.left, width))
        return FALSE;
    const int index = CharacterIndexAt(pointCellRelative.x, width, static_cast<int>(text.size()));
    if (index < 0)
        return FALSE;
    const QString word = WordAt(text, index);
    if (url)
        *url = word;
    return HasUrl(word);
}

// The desktop's pointing hand over a link.
BOOL CGridURLCell::OnSetCursor()
{
    CGridCtrl* grid = GetGrid();
    if (!grid)
        return FALSE;
    const QPoint pos = grid->viewport()->mapFromGlobal(QCursor::pos());
    if (OverUrl(CPoint(pos.x() - m_Rect.left, pos.y() - m_Rect.top), nullptr)) {
        grid->viewport()->setCursor(Qt::PointingHandCursor);
        return TRUE;
    }
    return CGridCell::OnSetCursor();
}

// A link that fails to open is not reported.
void CGridURLCell::OnClick(CPoint pointCellRelative)
{
    QString url;
    if (m_bLaunchUrl && OverUrl(pointCellRelative, &url))
        QDesktopServices::openUrl(QUrl::fromUserInput(url));
}
