#include "CGridCtrlVantel.h"

#include "platform/VirtualKeys.h"

#include <vector>

namespace {

// With the paired-column option, columns 2 and 6 of a row are cleared together.
constexpr int kPairedColumnA = 2;
constexpr int kPairedColumnB = 6;

} // namespace

// As the grid, except that the movement runs from the far corner of the
// selection: Shift with the arrows extends it while the focus stays where the
// selection began.
void CGridCtrlVantel::OnKeyDown(UINT nChar, UINT, UINT)
{
    m_bKeyHandled = false;
    const CCellID focus = GetFocusCell();
    if (m_bLMouseButtonDown || !IsValid(focus))
        return;
    if (HandleShortcut(nChar)) {
        m_bKeyHandled = true;
        return;
    }
    const bool extend = GetKeyState(VK_SHIFT) < 0 && nChar != VK_TAB;
    const CCellID from = extend && IsValid(m_idFarCorner) ? m_idFarCorner : focus;
    bool handled = true;
    int wrapped = 0;
    const CCellID next = NextFocusForKey(from, nChar, &handled, &wrapped);
    m_bKeyHandled = handled;
    // Keys that move nothing keep the corner: the Shift key's own press comes
    // before Shift counts as held.
    if (!handled)
        return;
    m_idFarCorner = from;
    if (nChar == VK_DELETE)
        ClearSelectedCellsAgain();
    if (next == m_idFarCorner)
        return;
    if (m_MouseMode == MouseMode::None)
        SelectForKeyMove(next, nChar);
    m_idFarCorner = next;
    if (!extend)
        SetFocusCell(next);
    ScrollFocusIntoView(next, nChar, wrapped);
}

// The second pass clears the partner column of each cleared cell as well.
void CGridCtrlVantel::ClearSelectedCellsAgain()
{
    const CellSpan span = GetSelectedCellRange();
    if (!IsValid(span))
        return;
    // Validation may change the selection while the cells are cleared.
    std::vector<CCellID> cells;
    for (int row = span.GetMinRow(); row <= span.GetMaxRow(); ++row) {
        for (int col = span.GetMinCol(); col <= span.GetMaxCol(); ++col) {
            if (IsCellSelected(row, col))
                cells.emplace_back(row, col);
        }
    }
    for (const CCellID& cell : cells) {
        SetItemTextAsTyped(cell.row, cell.col, QString());
        if (m_nPairedColumns == 0)
            continue;
        if (cell.col == kPairedColumnA)
            SetItemTextAsTyped(cell.row, kPairedColumnB, QString());
        else if (cell.col == kPairedColumnB)
            SetItemTextAsTyped(cell.row, kPairedColumnA, QString());
    }
}
