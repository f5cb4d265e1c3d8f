#include "CGridCellNumeric.h"

#include "CInPlaceEdit.h"

#include <QLocale>

#include <array>
#include <climits>
#include <cmath>

IMPLEMENT_DYNCREATE(CGridCellNumeric, CGridCell)

namespace {

// Truncated towards zero and held to the int range, so that no double can
// make the conversion undefined.
int TruncatedToInt(double number)
{
    if (std::isnan(number))
        return 0;
    if (number >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (number <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(number);
}

} // namespace

CGridCellNumeric::CGridCellNumeric() = default;

// A text that is no number is kept as typed, with the value 0.
void CGridCellNumeric::SetText(const QString& text)
{
    CGridCell::SetText(text);
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    m_dValue = ok ? value : 0.0;
}

void CGridCellNumeric::SetNumber(double number)
{
    if (m_nNumberKind != KIND_REAL) {
        const int whole = TruncatedToInt(number);
        CGridCell::SetText(QString::number(whole));
        m_dValue = whole;
        return;
    }
    QString text = QString::asprintf("%.14f", number);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    CGridCell::SetText(text);
    m_dValue = number;
}

void CGridCellNumeric::SetDisplayCallback(LPARAM userValue, NumericDisplayCallback callback)
{
    m_lDisplayData = userValue;
    m_pfnDisplay = callback;
}

QString CGridCellNumeric::GetDisplayText(int row, int col) const
{
    if (m_nNumberKind != KIND_REAL || !m_pfnDisplay || m_lDisplayData == 0)
        return GetText();
    std::array<WCHAR, DISPLAY_BUFFER> buffer{};
    if (!m_pfnDisplay(m_lDisplayData, row, col, buffer.data(), DISPLAY_BUFFER))
        return GetText();
    // A callback that forgets the terminator still ends within the buffer.
    buffer.back() = 0;
    return QString::fromUtf16(buffer.data());
}

BOOL CGridCellNumeric::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar)
{
    if (!CGridCell::Edit(row, col, rect, point, id, nChar))
        return FALSE;
    if (auto* editor = qobject_cast<CInPlaceEdit*>(m_pEditWnd.data()))
        editor->SetInputKind(m_nNumberKind);
    return TRUE;
}
