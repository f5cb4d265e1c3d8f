#pragma once

#include "grid/CGridCtrl.h"

class QMenu;
struct MenuResource;

// The product layer over the grid: edits committed with refusal and
// re-editing, text set as if typed, a mouse selection from the focus cell in
// place of dragging, automatic scrolling while rows or columns are selected,
// and pop-up menus whose items are enabled by their handlers.
class CGridCtrlVantel : public CGridCtrl
{
    Q_OBJECT

public:
    CGridCtrlVantel();
    ~CGridCtrlVantel() override;

    // Virtual operations, in slot order.
    BOOL PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted) override;
    void SelectColumns(CCellID currentCell, BOOL forceRedraw = FALSE, BOOL selectCells = TRUE) override;
    void SelectRows(CCellID currentCell, BOOL forceRedraw = FALSE, BOOL selectCells = TRUE) override;
    // TRUE when the text was accepted; a refusal leaves the new text in the cell
    // for the editor that reopens.
    virtual BOOL CommitEditedText(int row, int col, const QString& text);

    // Sets a cell's text as if the user had typed it: begin-edit, validation,
    // end-edit; the old text comes back when any refuses.
    void SetItemTextAsTyped(int row, int col, const QString& text) { SetItemTextAsEdited(row, col, text); }
    // The quiet check of a pasted or inserted text; records the cell.
    BOOL CheckCellText(int row, int col, const QString& text);

    BOOL IsReEditPending() const { return m_bReEditPending; }
    void SetReEditPending(BOOL pending) { m_bReEditPending = pending; }
    CCellID GetRightClickCell() const { return m_idRightClickCell; }
    void SetRightClickCell(const CCellID& cell) { m_idRightClickCell = cell; }

    // Shows the first pop-up of a menu at a screen point, owned by this grid:
    // the enabling pass runs first, and the chosen item's command comes here.
    void TrackPopupMenu(const MenuResource* menu, const QPoint& screenPoint);
    // The enabling pass: each item asks this grid's handlers; items without a
    // handler and an id below 61440 are disabled.
    void OnInitMenuPopup(QMenu* popup);

    // Message handlers.
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    // The in-place editor's text changed: its text is checked as it is typed.
    void OnEditUpdate(UINT id, HWND control) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnCommand(UINT id) override;
    BOOL HasCommandHandler(UINT id) const override;
    BOOL OnUpdateCommand(UINT id, CCmdUI* cmdUI) override;

    // Opens the tag browser (mode 0 or 1) and puts the picked name into the
    // cell last right-clicked, double-clicked or browsed.
    void OnBrowseTag(int mode);
    void OnUpdateBrowseTag(CCmdUI* cmdUI);

protected:
    // The end of an edit of a product cell: commit, then move on or reopen.
    void OnEndEditNotify(const GridDispInfo& info);
    // Sends the user back into a refused text: the editor reopens on cell
    // with text, all of it selected.
    void ReopenEditor(const CCellID& cell, const QString& text);

    // State of the browse commands, the selection helpers and a refused edit.
    int m_nBrowseOwner = 0;
    CCellID m_idLastChecked;
    // No path of this program sets these; the first pairs columns 2 and 6 when clearing.
    int m_nPairedColumns = 0;
    int m_nReserved1 = 0;
    int m_nReserved2 = 0;
    BOOL m_bReEditPending = FALSE;
    BOOL m_bBrowsing = FALSE;
    CCellID m_idRightClickCell;
    CCellID m_idFarCorner;

private:
    void ReturnToRefusedCell();
    void PressToDragFocusCell(const CCellID& cell, const CPoint& point);
    void FollowLineSelection(const CCellID& cell, bool rows);
    void ClearSelectedCellsAgain();
    void PostCommand(UINT id);
};
