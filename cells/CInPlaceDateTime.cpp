#include "CInPlaceDateTime.h"

#include "platform/ControlStyles.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMapping.h"

#include <QKeyEvent>
#include <QLocale>

#include <algorithm>

CInPlaceDateTime* CInPlaceDateTime::Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                                         COLORREF textColor, COLORREF backColor, QDateTime* time, UINT firstChar)
{
    if (!window || !time)
        return nullptr;
    auto* picker = new CInPlaceDateTime(window, id, row, column, textColor, backColor, time);
    picker->Initialise(rect, style);
    picker->StartWith(firstChar);
    return picker;
}

CInPlaceDateTime::CInPlaceDateTime(QWidget* window, UINT id, int row, int column, COLORREF textColor,
                                   COLORREF backColor, QDateTime* time)
    : QDateTimeEdit(ClientArea(window))
    , m_pcTime(time)
    , m_crForeClr(textColor)
    , m_crBackClr(backColor)
    , m_link(window, id, row, column)
{
}

void CInPlaceDateTime::Initialise(const CRect& rect, DWORD style)
{
    setAttribute(Qt::WA_DeleteOnClose);
    const QLocale locale;
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        setDisplayFormat(locale.timeFormat(QLocale::LongFormat));
    else
        setDisplayFormat(locale.dateFormat((style & DTS_LONGDATEFORMAT) ? QLocale::LongFormat : QLocale::ShortFormat));
    setCalendarPopup(!(style & DTS_UPDOWN));
    setDateTime(*m_pcTime);
    const LOGFONTW logFont = LogFontFromQFont(GridWindowFont(m_link.GetWindow()));
    m_Font.CreateFontIndirect(&logFont);
    setFont(m_Font.GetQFont());
    setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    show();
}

void CInPlaceDateTime::StartWith(UINT firstChar)
{
    setFocus(Qt::OtherFocusReason);
    const bool typed =
        firstChar != VK_LBUTTON && firstChar != VK_RETURN && !(firstChar >= VK_PRIOR && firstChar <= VK_DOWN);
    if (typed && firstChar >= 0x20 && firstChar != 0x7F) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(char16_t(firstChar))));
        QDateTimeEdit::keyPressEvent(&key);
    }
}

void CInPlaceDateTime::EndEdit()
{
    if (m_link.GetReportCount() == 0)
        *m_pcTime = dateTime();
    m_link.ReportAndClose(this, text(), m_nLastChar);
}

bool CInPlaceDateTime::event(QEvent* event)
{
    if (TakeEveryKey(event) || IsTabPress(event))
        return true;
    return QDateTimeEdit::event(event);
}

void CInPlaceDateTime::keyPressEvent(QKeyEvent* event)
{
    const UINT nChar = VirtualKeyFromEvent(event);
    if (IsEndingKeyDown(nChar))
        ExitWith(nChar);
    // Return and Escape end the edit when released; the spin box would let
    // their press on to the grid and the dialog.
    else if (!IsEndingKeyUp(nChar))
        QDateTimeEdit::keyPressEvent(event);
}

void CInPlaceDateTime::keyReleaseEvent(QKeyEvent* event)
{
    const UINT nChar = VirtualKeyFromEvent(event);
    if (IsEndingKeyUp(nChar))
        ExitWith(nChar);
    else
        QDateTimeEdit::keyReleaseEvent(event);
}

void CInPlaceDateTime::focusOutEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusOutEvent(event);
    // The calendar pop-up takes the focus while it is open.
    if (event->reason() != Qt::PopupFocusReason)
        EndEdit();
}

void CInPlaceDateTime::ExitWith(UINT nChar)
{
    m_nLastChar = nChar;
    m_link.HandBackKeyboard(this, [this] { EndEdit(); });
}
