// Rows from the runtime's tag browser: the menu command inserts a row above
// the focus row, a double-click fills an empty row.

#include "CGridQuillon.h"

#include "CWatchGridHost.h"

#include <array>

namespace {

// The browser's fixed arguments after the buffer and its capacity.
constexpr int kBrowserMode = 1;

} // namespace

// The name picked in the browser, normalised; empty on cancel, an empty
// pick or a toolkit that is not ready.
QString CGridQuillon::PickTag()
{
    std::array<VtChar, kTagBrowserBufferSize> name{};
    if (!m_rt->IsToolkitReady() || !m_rt->TagBrowser(name.data(), static_cast<int>(name.size()), kBrowserMode, 0, 0))
        return QString();
    name.back() = 0;
    m_rt->NormalizeTagText(name.data(), name.size());
    name.back() = 0;
    return QString::fromUtf16(name.data());
}

// The browser lists the runtime's own names, so no forbidden-function check.
// A connection lost while the browser was open leaves the name unread; a
// refresh may have closed the handle by then.
void CGridQuillon::SetPickedTag(int row, const QString& name)
{
    SetItemText(row, ColTag, name);
    if (CheckConnection())
        EvaluateRowOnce(row, name, Evaluation::Picked);
}

void CGridQuillon::OnInsertTag()
{
    if (!IsConnected())
        return;
    const CCellID focus = GetFocusCell();
    const QString name = PickTag();
    if (!name.isEmpty()) {
        const int row = InsertWatchRow(focus.row);
        if (row >= 0)
            SetPickedTag(row, name);
        SetFocusCell(focus);
        setFocus(Qt::OtherFocusReason);
    }
    CheckConnection();
}

BOOL CGridQuillon::OnReflectedNotify(NMHDR* header, LRESULT* result)
{
    if (!header || header->code != NM_DBLCLK)
        return CGridCtrlVantel::OnReflectedNotify(header, result);
    OnDblClickNotify();
    *result = 0;
    return TRUE;
}

// Only an empty row opens the browser; in a filled row the double-click is
// the grid's own (editing).
void CGridQuillon::OnDblClickNotify()
{
    const CCellID focus = GetFocusCell();
    if (focus.row < 1 || focus.col < 0 || !GetItemText(focus.row, ColTag).isEmpty())
        return;
    // The editor the double-click opened must not write its empty text over
    // the picked name: it is closed, and the keyboard focus it may keep (and
    // report once more on losing) is taken now, while the row is still empty.
    EndEditing();
    setFocus(Qt::OtherFocusReason);
    const QString name = PickTag();
    if (!name.isEmpty()) {
        // Column 0 is evaluated here and gets the automatic empty row.
        ValidateEdit(focus.row, focus.col, name);
        SetPickedTag(focus.row, name);
        if (focus.col != ColTag)
            InsertWatchRow(-1);
        // A refused commit (the connection lost while the browser was open)
        // added no row after the name.
        KeepEmptyLastRow();
        SetFocusCell(focus);
    }
    Refresh();
}
