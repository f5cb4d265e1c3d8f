// Drag and drop: a selection dragged with Ctrl held, and text dropped on a cell.

#include "CGridCtrl.h"

#include "CGridDropTarget.h"

#include "cells/CGridCellBase.h"
#include "platform/OleDragDrop.h"
#include "platform/VirtualKeys.h"

#include <QMimeData>

std::unique_ptr<CGridDropTarget> CGridCtrl::MakeDropTarget()
{
    return std::make_unique<CGridDropTarget>(this);
}

void CGridCtrl::StartDragDrop()
{
    if (!m_bAllowDragAndDrop || GetAsyncKeyState(VK_CONTROL) >= 0)
        return;
    QMimeData* data = CreateTextDataSource();
    if (!data)
        return;
    const CCellID topLeft = GetSelectedCellRange().GetTopLeft();
    SendMessageToParent(topLeft.row, topLeft.col, GRIDN_STARTDRAG);
    m_MouseMode = MouseMode::DragDrop;
    m_bLMouseButtonDown = FALSE;

    std::vector<CCellID> source;
    source.reserve(m_SelectedCellMap.size());
    for (const auto& [key, cell] : m_SelectedCellMap)
        source.push_back(cell);
    BeginPaste();
    m_bOwnDragRunning = true;
    const DROPEFFECT done = DoDragDrop(this, data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    m_bOwnDragRunning = false;
    // The drag's own loop held the mouse and took its release: the press's
    // capture ends here, or the cursor would stop following the cells.
    OnCaptureChanged();
    m_MouseMode = MouseMode::None;
    if (done & DROPEFFECT_MOVE)
        ClearMovedCells(source);
}

// A drop on this grid deselects what was dragged, so the source is what was
// selected when the drag began; cells the drop wrote to keep the new text.
void CGridCtrl::ClearMovedCells(const std::vector<CCellID>& source)
{
    if (!m_bEditable)
        return;
    for (const CCellID& cell : source) {
        if (!m_pastedCells.count(SelectionKey(cell.row, cell.col)))
            SetItemTextAsEdited(cell.row, cell.col, QString());
    }
}

void CGridCtrl::SetDropHighlight(const CCellID& cell, bool on)
{
    CGridCellBase* target = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr;
    if (!target)
        return;
    const DWORD state = target->GetState();
    target->SetState(on ? (state | GRIDIS_DROPHILITED) : (state & ~GRIDIS_DROPHILITED));
    RedrawCell(cell);
}

DWORD CGridCtrl::OnDragEnter(const QMimeData* data, DWORD, CPoint point)
{
    if (!m_bAllowDragAndDrop || !data || !data->hasText())
        return DROPEFFECT_NONE;
    m_idDropCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_idDropCell) || !IsCellEditable(m_idDropCell))
        return DROPEFFECT_NONE;
    SetDropHighlight(m_idDropCell, true);
    return DROPEFFECT_COPY;
}

DWORD CGridCtrl::OnDragOver(const QMimeData* data, DWORD, CPoint point)
{
    if (!m_bAllowDragAndDrop || !m_bEditable || !data || !data->hasText())
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell)) {
        SetDropHighlight(m_idDropCell, false);
        m_idDropCell = CCellID();
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell))
        return DROPEFFECT_NONE;
    if (cell != m_idDropCell) {
        SetDropHighlight(m_idDropCell, false);
        m_idDropCell = cell;
        SetDropHighlight(m_idDropCell, true);
    }
    return DROPEFFECT_COPY;
}

void CGridCtrl::OnDragLeave()
{
    SetDropHighlight(m_idDropCell, false);
}

BOOL CGridCtrl::OnDrop(const QMimeData* data, DWORD, CPoint)
{
    m_MouseMode = MouseMode::None;
    if (!m_bAllowDragAndDrop || !IsCellEditable(m_idDropCell))
        return FALSE;
    SetDropHighlight(m_idDropCell, false);
    return PasteTextAt(m_idDropCell, data, FALSE);
}
