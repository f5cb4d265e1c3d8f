#include "CInPlaceList.h"

#include "CComboEdit.h"

#include "platform/CDC.h"
#include "platform/ControlStyles.h"
#include "platform/ScreenMetrics.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMapping.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr int kMaxDropWidth = 200;

bool IsPrintable(UINT c)
{
    return c >= 0x20 && c != 0x7F;
}

} // namespace

CInPlaceList* CInPlaceList::Open(QWidget* window, const CRect& rect, DWORD style, UINT id, int row, int column,
                                 COLORREF textColor, COLORREF backColor, const QStringList& items,
                                 const QString& initText, UINT firstChar, BOOL endOnSelChange)
{
    if (!window)
        return nullptr;
    auto* list = new CInPlaceList(window, id, row, column, textColor, backColor, initText, endOnSelChange);
    list->Initialise(rect, style, items);
    list->StartWith(firstChar);
    return list;
}

CInPlaceList::CInPlaceList(QWidget* window, UINT id, int row, int column, COLORREF textColor, COLORREF backColor,
                           const QString& initText, BOOL endOnSelChange)
    : QComboBox(ClientArea(window))
    , m_sInitText(initText)
    , m_bEndOnSelChange(endOnSelChange)
    , m_crForeClr(textColor)
    , m_crBackClr(backColor)
    , m_link(window, id, row, column)
{
}

void CInPlaceList::Initialise(const CRect& rect, DWORD style, const QStringList& items)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if ((style & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST) {
        m_pEdit = new CComboEdit(this);
        setLineEdit(m_pEdit);
        // The text goes to the cell, never into the list.
        setInsertPolicy(QComboBox::NoInsert);
    }
    // Qt opens the list as a pop-up of its own, so the room the list needs
    // below the field becomes a count of visible items.
    setMaxVisibleItems(m_nNumLines);
    addItems(items);
    const LOGFONTW logFont = LogFontFromQFont(GridWindowFont(m_link.GetWindow()));
    m_Font.CreateFontIndirect(&logFont);
    setFont(m_Font.GetQFont());
    setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    view()->setMinimumWidth(GetDropWidth());
    SelectInitialText();
    connect(this, &QComboBox::activated, this, &CInPlaceList::OnSelChange);
    show();
}

void CInPlaceList::SelectInitialText()
{
    const int index = findText(m_sInitText, Qt::MatchFixedString);
    setCurrentIndex(index);
    if (index < 0 && m_pEdit)
        setEditText(m_sInitText);
}

void CInPlaceList::StartWith(UINT firstChar)
{
    if (firstChar == VK_SPACE || firstChar == VK_LBUTTON)
        showPopup();
    if (!m_pEdit) {
        // A drop-down list selects by the first letter of its items.
        if (IsPrintable(firstChar)) {
            QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(char16_t(firstChar))));
            QComboBox::keyPressEvent(&typed);
        }
        setFocus(Qt::OtherFocusReason);
        return;
    }
    setFocus(Qt::OtherFocusReason);
    StartEditingWith(firstChar);
}

void CInPlaceList::StartEditingWith(UINT firstChar)
{
    if (firstChar == VK_LBUTTON || firstChar == VK_RETURN) {
        m_pEdit->end(false);
    } else if (firstChar == VK_BACK) {
        m_pEdit->end(false);
        m_pEdit->backspace();
    } else if (firstChar >= VK_PRIOR && firstChar <= VK_DOWN) {
        m_pEdit->selectAll();
    } else {
        m_pEdit->selectAll();
        if (IsPrintable(firstChar))
            m_pEdit->insert(QString(QChar(char16_t(firstChar))));
    }
}

void CInPlaceList::EndEdit()
{
    m_link.ReportAndClose(this, currentText(), m_nLastChar);
}

int CInPlaceList::GetDropWidth() const
{
    CDC dc;
    dc.SelectObject(&m_Font);
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max<int>(widest, dc.GetTextExtent(itemText(i)).cx);
    widest += GetSystemMetrics(SM_CXVSCROLL) + dc.GetTextExtent(QStringLiteral("0")).cx;
    return std::min(widest, kMaxDropWidth);
}

bool CInPlaceList::OnKeyDown(UINT nChar)
{
    // Return and Escape end the edit when released; their press is the
    // editor's too, or it would move the grid and close the dialog.
    if (IsEndingKeyUp(nChar))
        return true;
    if (!(IsPageOrArrowKey(nChar) && m_bExitOnArrows) && !IsEndingKeyDown(nChar))
        return false;
    ExitWith(nChar);
    return true;
}

bool CInPlaceList::OnKeyUp(UINT nChar)
{
    if (!IsEndingKeyUp(nChar))
        return false;
    if (nChar == VK_ESCAPE)
        SelectInitialText();
    ExitWith(nChar);
    return true;
}

void CInPlaceList::showPopup()
{
    view()->setMinimumWidth(GetDropWidth());
    QComboBox::showPopup();
}

bool CInPlaceList::event(QEvent* event)
{
    if (TakeEveryKey(event) || IsTabPress(event))
        return true;
    return QComboBox::event(event);
}

// The combo box holds the focus for its edit field too, so it sees every key
// first; the arrows would otherwise change the selection.
void CInPlaceList::keyPressEvent(QKeyEvent* event)
{
    if (!OnKeyDown(VirtualKeyFromEvent(event)))
        QComboBox::keyPressEvent(event);
}

void CInPlaceList::keyReleaseEvent(QKeyEvent* event)
{
    if (!OnKeyUp(VirtualKeyFromEvent(event)))
        QComboBox::keyReleaseEvent(event);
}

void CInPlaceList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The list's own pop-up takes the focus while it is open.
    if (event->reason() != Qt::PopupFocusReason)
        EndEdit();
}

void CInPlaceList::ExitWith(UINT nChar)
{
    m_nLastChar = nChar;
    m_link.HandBackKeyboard(this, [this] { EndEdit(); });
}

void CInPlaceList::OnSelChange()
{
    if (m_bEndOnSelChange)
        EndEdit();
}
