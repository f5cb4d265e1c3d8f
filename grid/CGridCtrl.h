#pragma once

#include "CCellID.h"
#include "CellSpan.h"
#include "GridAxis.h"
#include "GridDefs.h"
#include "GridItem.h"
#include "GridNotify.h"
#include "NotifyReceiver.h"

#include "cells/CGridDefaultCell.h"
#include "cells/CTitleTip.h"
#include "platform/CCmdTarget.h"
#include "platform/CDC.h"
#include "platform/CObject.h"
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/LogFont.h"
#include "platform/SysColors.h"
#include "platform/WinTypes.h"
#include "platform/WinUser.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CCmdUI;
class CFont;
class CGridCellBase;
class CGridDropTarget;
class CImageList;
class QMimeData;

// The control id the grid gives its in-place editors.
constexpr UINT IDC_INPLACE_CONTROL = 8;
// The auto-scroll timer that runs while the mouse selects.
constexpr UINT_PTR GRID_AUTOSCROLL_TIMER = 513;

// Called in virtual mode for each cell the grid reads; fills the record.
using GRIDCALLBACK = BOOL (*)(GridDispInfo* dispInfo, LPARAM lParam);

// A spreadsheet-like window: fixed (header) rows and columns that stay put and
// a scrolling body of cells. The grid owns its cells and asks them to draw.
class CGridCtrl : public QAbstractScrollArea, public CObject, public CNotifyReceiver, public CCmdTarget
{
    Q_OBJECT
    DECLARE_DYNCREATE(CGridCtrl)

public:
    // What a press, a drag or a hover is doing. Each mode keeps its number;
    // a new mode takes a new one.
    enum class MouseMode {
        None = 0,
        SelectAll = 1,
        SelectColumns = 2,
        SelectRows = 3,
        SelectCells = 4,
        OverRowDivider = 6,
        SizingRow = 7,
        OverColumnDivider = 8,
        SizingColumn = 9,
        PrepareEdit = 10,
        PrepareDrag = 11,
        DragDrop = 12,
    };

    explicit CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    BOOL Create(const RECT& rect, QWidget* parent, UINT nID, DWORD dwStyle = WS_CHILD | WS_TABSTOP | WS_VISIBLE);
    // The window exists once created; before that the grid is only a store.
    bool IsWindow() const { return m_bCreated; }
    UINT GetDlgCtrlID() const { return m_nID; }
    // Notifications go to the owner when one was set, else to the parent.
    void SetOwner(QWidget* owner);

    // Counts
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    BOOL SetRowCount(int nRows);
    BOOL SetColumnCount(int nCols);
    BOOL SetFixedRowCount(int nFixedRows);
    BOOL SetFixedColumnCount(int nFixedCols);
    int InsertRow(const QString& heading, int before = -1);
    int InsertColumn(const QString& heading, UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int before = -1);
    BOOL DeleteRow(int row);
    BOOL DeleteColumn(int col);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();

    // Sizes
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    // A size above GridAxis::kMaxSize is taken as that size.
    BOOL SetRowHeight(int row, int height);
    BOOL SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long long GetVirtualHeight() const { return m_rowHeights.Total(); }
    long long GetVirtualWidth() const { return m_colWidths.Total(); }

    // Cells
    CGridCellBase* GetCell(int row, int col) const;
    // The grid takes 'cell' (none leaves the place empty); the cell it replaces is destroyed.
    BOOL SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell);
    BOOL SetCellType(int row, int col, const CRuntimeClass* cls);
    BOOL SetDefaultCellType(const CRuntimeClass* cls);
    CGridDefaultCell* GetDefaultCell(BOOL fixedRow, BOOL fixedCol);
    BOOL IsValid(int row, int col) const;
    BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValid(const CellSpan& span) const;
    BOOL IsCellFixed(int row, int col) const;
    BOOL IsCellEditable(const CCellID& cell) const;

    // Properties of one cell
    BOOL SetItemText(int row, int col, const QString& text);
    BOOL SetItemTextFmt(int row, int col, const char* format, ...);
    BOOL SetItemTextFmtID(int row, int col, UINT formatId, ...);
    QString GetItemText(int row, int col) const;
    BOOL SetItemImage(int row, int col, int image);
    int GetItemImage(int row, int col) const;
    BOOL SetItemData(int row, int col, LPARAM data);
    LPARAM GetItemData(int row, int col) const;
    BOOL SetItemTextLimit(int row, int col, int limit);
    int GetItemTextLimit(int row, int col) const;
    BOOL SetItemState(int row, int col, UINT state);
    UINT GetItemState(int row, int col) const;
    BOOL SetItemFormat(int row, int col, UINT format);
    UINT GetItemFormat(int row, int col) const;
    BOOL SetItemBkColour(int row, int col, COLORREF color = CLR_DEFAULT);
    COLORREF GetItemBkColour(int row, int col) const;
    BOOL SetItemFgColour(int row, int col, COLORREF color = CLR_DEFAULT);
    COLORREF GetItemFgColour(int row, int col) const;
    BOOL SetItemFont(int row, int col, const LOGFONTW* font);
    const LOGFONTW* GetItemFont(int row, int col);
    BOOL SetItemMargin(int row, int col, UINT margin);
    UINT GetItemMargin(int row, int col) const;
    BOOL SetItem(const GridItem* item);
    BOOL GetItem(GridItem* item) const;
    void SetModified(BOOL modified = TRUE, int row = -1, int col = -1);
    BOOL GetModified(int row = -1, int col = -1) const;
    CCellID GetNextItem(const CCellID& start, UINT flags) const;

    // Virtual mode
    void SetVirtualMode(BOOL virtualMode);
    BOOL GetVirtualMode() const { return m_bVirtualMode; }
    void SetCallbackFunc(GRIDCALLBACK callback, LPARAM lParam);

    // Focus and selection
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    CCellID SetFocusCell(int row, int col);
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRepaint = FALSE,
                          BOOL selectCells = TRUE);
    void SetSelectedRange(const CellSpan& span, BOOL forceRepaint = FALSE, BOOL selectCells = TRUE);
    void ResetSelectedRange();
    BOOL IsCellSelected(int row, int col) const;
    CellSpan GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
    CCellID GetSelectionAnchor() const { return m_SelectionStartCell; }
    MouseMode GetMouseMode() const { return m_MouseMode; }

    // Geometry
    CCellID GetTopleftNonFixedCell(BOOL forceRecalculation = FALSE);
    CellSpan GetVisibleNonFixedCellRange(LPRECT rect = nullptr, BOOL forceRecalculation = FALSE);
    BOOL GetCellOrigin(int row, int col, POINT* origin);
    BOOL GetCellRect(int row, int col, LPRECT rect);
    BOOL GetCellRect(const CCellID& cell, LPRECT rect) { return GetCellRect(cell.row, cell.col, rect); }
    BOOL GetCellRangeRect(const CellSpan& span, LPRECT rect);
    CCellID GetCellFromPt(POINT point, BOOL allowFixedCellCheck = TRUE);
    BOOL IsCellVisible(int row, int col);
    BOOL IsCellVisible(const CCellID& cell) { return IsCellVisible(cell.row, cell.col); }
    BOOL MouseOverRowResizeArea(const CPoint& point);
    BOOL MouseOverColumnResizeArea(const CPoint& point);
    CRect GetClientRect() const;

    // Scrolling
    void OnHScroll(UINT code, UINT pos);
    void OnVScroll(UINT code, UINT pos);
    void ResetScrollBars();
    void EnableScrollBars(int bar, BOOL enable = TRUE);
    int GetScrollPos32(int bar, BOOL getTrackPos = FALSE) const;
    BOOL SetScrollPos32(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollMax(int bar) const { return bar == SB_VERT ? m_nVScrollMax : m_nHScrollMax; }
    BOOL IsScrollBarShown(int bar) const;
    void EnsureVisible(int row, int col);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }

    // Sizing
    BOOL AutoSizeColumn(int col, UINT autoSizeStyle = 0, BOOL resetScroll = TRUE);
    void AutoSizeColumns(UINT autoSizeStyle = 0);
    void AutoSizeRows(BOOL ignoreEmpty = FALSE);
    void AutoSize(UINT autoSizeStyle = 0);
    void ExpandColumnsToFit(BOOL expandFixed = TRUE);
    void ExpandRowsToFit(BOOL expandFixed = TRUE);
    void ExpandToFit(BOOL expandFixed = TRUE);

    // Drawing
    BOOL RedrawCell(int row, int col, CDC* dc = nullptr);
    BOOL RedrawCell(const CCellID& cell, CDC* dc = nullptr) { return RedrawCell(cell.row, cell.col, dc); }
    BOOL InvalidateCellRect(const CCellID& cell);
    BOOL InvalidateCellRect(const CellSpan& span);
    void Refresh();
    void SetRedraw(BOOL allowDraw, BOOL resetScrollBars = FALSE);
    BOOL GetRedraw() const { return m_bAllowDraw; }
    void SetGridLines(int whichLines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void OnSetFont(const LOGFONTW& font);
    const CFont* OnGetFont();
    void OnSysColorChange();

    // Settings the cells and later layers read
    void SetGridLineColor(COLORREF color) { m_crGridLineColour = color; }
    COLORREF GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridBkColor(COLORREF color) { m_crGridBkColour = color; }
    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetFocusCellBkColour(COLORREF color) { m_crFocusCellBk = color; }
    COLORREF GetFocusCellBkColour() const { return m_crFocusCellBk; }
    void SetFocusCellTextColour(COLORREF color) { m_crFocusCellText = color; }
    COLORREF GetFocusCellTextColour() const { return m_crFocusCellText; }
    void SetHighLightColour(COLORREF color) { m_crHighlight = color; }
    COLORREF GetHighLightColour() const { return m_crHighlight; }
    void SetHighLightTextColour(COLORREF color) { m_crHighlightText = color; }
    COLORREF GetHighLightTextColour() const { return m_crHighlightText; }
    void SetFrameFocusCell(BOOL frame) { m_bFrameFocus = frame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
    void SetTrackFocusCell(BOOL track) { m_bTrackFocusCell = track; }
    BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFixedRowHighlightFill(BOOL fill) { m_bFixedRowHighlightFill = fill; }
    BOOL GetFixedRowHighlightFill() const { return m_bFixedRowHighlightFill; }
    void SetFixedRowHighlightColour(COLORREF color) { m_crFixedRowHighlight = color; }
    COLORREF GetFixedRowHighlightColour() const { return m_crFixedRowHighlight; }
    void SetFixedColumnHighlightFill(BOOL fill) { m_bFixedColHighlightFill = fill; }
    BOOL GetFixedColumnHighlightFill() const { return m_bFixedColHighlightFill; }
    void SetFixedColumnHighlightColour(COLORREF color) { m_crFixedColHighlight = color; }
    COLORREF GetFixedColumnHighlightColour() const { return m_crFixedColHighlight; }
    void EnableTitleTips(BOOL enable = TRUE) { m_bTitleTips = enable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    // Where an editing cell keeps the title-tip setting it switched off.
    void SetSavedTitleTips(BOOL saved) { m_bSavedTitleTips = saved; }
    BOOL GetSavedTitleTips() const { return m_bSavedTitleTips; }
    void SetPrintColour(BOOL colour) { m_bPrintColour = colour; }
    BOOL GetPrintColour() const { return m_bPrintColour; }
    void SetImageList(CImageList* images) { m_pImageList = images; }
    CImageList* GetImageList() const { return m_pImageList; }
    // Kept for callers: paints go through Qt's backing store, flicker-free either way.
    void SetDoubleBuffering(BOOL buffer) { m_bDoubleBuffer = buffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void SetEditable(BOOL editable = TRUE) { m_bEditable = editable; }
    BOOL IsEditable() const { return m_bEditable; }
    void EnableSelection(BOOL enable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetListMode(BOOL listMode = TRUE) { m_bListMode = listMode; }
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL single = TRUE) { m_bSingleRowSelection = single; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(BOOL single = TRUE) { m_bSingleColSelection = single; }
    BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
    void SetFixedColumnSelection(BOOL select) { m_bFixedColumnSelection = select; }
    BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetFixedRowSelection(BOOL select) { m_bFixedRowSelection = select; }
    BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetHeaderSort(BOOL sortOnClick = TRUE) { m_bSortOnClick = sortOnClick; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void SetHandleTabKey(BOOL handle = TRUE) { m_bHandleTabKey = handle; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void EnableDragAndDrop(BOOL allow = TRUE) { m_bAllowDragAndDrop = allow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetAutoSizeStyle(UINT style = GVS_BOTH) { m_nAutoSizeColumnStyle = style; }
    UINT GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
    int GetMouseScrollLines() const { return m_nRowsPerWheelNotch; }
    // -1: one page per wheel notch.
    void SetMouseScrollLines(int lines) { m_nRowsPerWheelNotch = lines; }
    void SetRowResize(BOOL allow = TRUE) { m_bAllowRowResize = allow; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL allow = TRUE) { m_bAllowColumnResize = allow; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    // Whether a dragged divider may shrink a line to nothing.
    void SetAllowRowHide(BOOL allow = TRUE) { m_bAllowRowHide = allow; }
    BOOL GetAllowRowHide() const { return m_bAllowRowHide; }
    void SetAllowColumnHide(BOOL allow = TRUE) { m_bAllowColHide = allow; }
    BOOL GetAllowColumnHide() const { return m_bAllowColHide; }
    // Whether the divider of a hidden line can be grabbed to show it again.
    void SetHiddenRowUnhide(BOOL allow = TRUE) { m_bHiddenRowUnhide = allow; }
    BOOL GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
    void SetHiddenColUnhide(BOOL allow = TRUE) { m_bHiddenColUnhide = allow; }
    BOOL GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
    void SetTitleTipBackClr(COLORREF color = CLR_DEFAULT) { m_crTTipBackClr = color; }
    COLORREF GetTitleTipBackClr() const { return m_crTTipBackClr; }
    void SetTitleTipTextClr(COLORREF color = CLR_DEFAULT) { m_crTTipTextClr = color; }
    COLORREF GetTitleTipTextClr() const { return m_crTTipTextClr; }
    void SetMultiLineEdit(BOOL multiLine = TRUE) { m_bMultiLineEdit = multiLine; }
    BOOL GetMultiLineEdit() const { return m_bMultiLineEdit; }
    // 1: the in-place editor reads right to left.
    void SetRTLReading(int rtl) { m_nRTLReading = rtl; }
    int GetRTLReading() const { return m_nRTLReading; }
    // Characters the in-place editor refuses to take.
    void SetRefusedChars(const QString& chars) { m_strRefusedChars = chars; }
    QString GetRefusedChars() const { return m_strRefusedChars; }
    void SetSortColumn(int col);
    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortAscending(BOOL ascending) { m_bAscending = ascending; }
    BOOL GetSortAscending() const { return m_bAscending; }

    // Notifications to the owner or parent; 0 when nobody receives them.
    LRESULT SendMessageToParent(int row, int col, int code) const;
    LRESULT SendDisplayRequestToParent(GridDispInfo* dispInfo) const;
    LRESULT SendCacheHintToParent(const CellSpan& span) const;

    // The editor's report of its final text.
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;

    // The edit commands: copy, cut, paste and select all.
    BOOL OnCommand(UINT id) override;
    BOOL HasCommandHandler(UINT id) const override;
    BOOL OnUpdateCommand(UINT id, CCmdUI* cmdUI) override;

    // Message handlers; the Qt events below translate to them. A derived grid
    // overrides them as a message map would.
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    // A context menu asked for at a screen point; (-1, -1) from the keyboard.
    virtual void OnContextMenu(QWidget* window, CPoint screenPoint);
    BOOL OnSetCursor();
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    void OnMouseLeave();
    void OnCaptureChanged();
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnImeChar(WPARAM wCharCode, LPARAM lParam);
    UINT OnGetDlgCode() const;

    // Virtual operations. Their order is the order of the virtual function
    // table; a new one goes at the end.
    virtual int GetFixedColumnCount() const { return m_nFixedCols; }
    virtual BOOL AutoSizeRow(int row, BOOL resetScroll = TRUE, BOOL ignoreEmpty = FALSE);
    // Clipboard and drag and drop; the effects are DROPEFFECT_ bits.
    virtual void CutSelectedText();
    virtual QMimeData* CreateTextDataSource();
    virtual BOOL PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted);
    virtual void StartDragDrop();
    virtual DWORD OnDragEnter(const QMimeData* data, DWORD keyState, CPoint point);
    virtual DWORD OnDragOver(const QMimeData* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(const QMimeData* data, DWORD dropEffect, CPoint point);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    virtual void OnFixedColumnClick(const CCellID& cell);
    virtual void OnFixedRowClick(const CCellID& cell);
    virtual void OnEditCell(int row, int col, CPoint point, UINT nChar);
    virtual void OnEndEditCell(int row, int col, const QString& text);
    virtual BOOL ValidateEdit(int row, int col, const QString& text);
    virtual void EndEditing();
    virtual void OnDraw(CDC* dc);
    // A new cell for (row, col); the grid owns the cell from the moment it is returned.
    virtual CGridCellBase* CreateCell(int row, int col);
    // A new cell of class 'cls' set up for (row, col) as CreateCell sets one up.
    CGridCellBase* CreateCellOfType(int row, int col, const CRuntimeClass* cls);
    virtual void DestroyCell(int row, int col);
    virtual void SelectAllCells();
    virtual void SelectColumns(CCellID currentCell, BOOL forceRedraw = FALSE, BOOL selectCells = TRUE);
    virtual void SelectRows(CCellID currentCell, BOOL forceRedraw = FALSE, BOOL selectCells = TRUE);
    virtual void SelectCells(CCellID currentCell, BOOL forceRedraw = FALSE, BOOL selectCells = TRUE);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // A notification the grid handles itself before its receiver sees it;
    // TRUE keeps it from the receiver and *result is the reply.
    virtual BOOL OnReflectedNotify(NMHDR* header, LRESULT* result);
    void contextMenuEvent(QContextMenuEvent* event) override;

    // Applies the current mouse mode's selection from the anchor to cell.
    void SelectCurrentRange(const CCellID& cell);
    void SetTimer(UINT_PTR nIDEvent, UINT elapse);
    void KillTimer(UINT_PTR nIDEvent);
    // Steps of the mouse and key handlers a derived grid reuses.
    void StartSelecting(UINT nFlags);
    bool HandleShortcut(UINT nChar);
    CCellID NextFocusForKey(const CCellID& from, UINT nChar, bool* handled, int* wrapped);
    void ScrollFocusIntoView(const CCellID& cell, UINT nChar, int wrapped);
    void SelectForKeyMove(const CCellID& next, UINT nChar);
    // One auto-scroll tick: step (an arrow key) for each edge the cursor lies
    // beyond, each followed by a move at that edge.
    void AutoScroll(const std::function<void(UINT nChar)>& step);

    // Interaction state the product layer reads and extends.
    MouseMode m_MouseMode = MouseMode::None;
    CCellID m_SelectionStartCell;
    CCellID m_LeftClickDownCell;
    CPoint m_LeftClickDownPoint;
    CPoint m_LastMousePoint;
    BOOL m_bLMouseButtonDown = FALSE;
    BOOL m_bMouseCaptured = FALSE;
    UINT_PTR m_nTimerID = 0;
    UINT m_nTimerInterval = 25;
    CTitleTip m_TitleTip;
    // Whether the last OnKeyDown moved or acted; an unhandled key goes on to the parent.
    bool m_bKeyHandled = false;

private:
    using CellPtr = std::unique_ptr<CGridCellBase>;
    // Each place owns its cell; rows move, sort and grow by moving pointers, never cells.
    using GridRow = std::vector<CellPtr>;
    using CellMap = std::unordered_map<std::uint64_t, CCellID>;

    static std::uint64_t SelectionKey(int row, int col);
    CNotifyReceiver* NotifyReceiver() const;
    LRESULT SendNotify(NMHDR* header) const;
    NMHDR MakeHeader(int code) const;
    CGridCellBase* GetVirtualCell(int row, int col) const;
    void ReportOutOfMemory() const;
    void ForgetCell(CGridCellBase* cell);
    void ForgetTopLeft() { m_idTopLeftCell = CCellID(); }
    std::unique_ptr<GridRow> MakeRow(int row);
    // The place of a stored cell; nullptr outside the store and in virtual mode.
    CellPtr* CellSlot(int row, int col);
    // One path for the setters of one cell's properties: Content marks the
    // cell modified, Look does not. 'setter' names the caller in the warning
    // for a misuse.
    enum class ItemChange { Content, Look };
    template <typename Apply>
    BOOL SetCellProperty(const char* setter, int row, int col, ItemChange change, Apply&& apply);
    // The fields 'item' names in its mask, written into cell.
    void ApplyItem(const GridItem* item, CGridCellBase* cell);
    void MoveFixedBand(bool rows, int oldCount, int newCount);
    void RedrawFixedCellsOf(const CCellID& cell, const CCellID& other);
    void ClearSortColumn();

    // Mouse helpers
    CPoint CellRelative(const CCellID& cell, const CPoint& point);
    bool PointInTextRect(const CCellID& cell, const CPoint& point);
    void SetGridCursor(Qt::CursorShape shape);
    int LineStart(bool rows, int line);
    int LineSize(bool rows, int line) const;
    CPoint Confined(const CPoint& point) const;
    void DrawTrackBar(const CRect& bar);
    CRect TrackBarAt(bool rows, const CPoint& point) const;
    bool FocusClickedCell(UINT nFlags);
    void TrackDividers(const CPoint& point);
    int LineToSize(bool rows, const CPoint& point);
    bool StartSizing(bool rows, const CPoint& point);
    void HoverCell(const CPoint& point);
    void DragTo(const CPoint& point);
    void FinishDragPending(const CPoint& point);
    void FinishSizing(bool rows, const CPoint& point);
    void FinishClick(const CPoint& point);
    void PostCommandToReceiver();
    void AutoSizeLineLeftOf(bool rows, const CCellID& cell, const CPoint& point);
    bool IsSecondPressOfDoubleClick(const QMouseEvent* event);
    void WheelPixels(int pixels);
    void WheelSteps(double steps);

    // Keyboard helpers
    bool HandleKeyDown(UINT nChar);
    CCellID TabTarget(const CCellID& focus, bool backwards, bool* handled, int* wrapped);
    CCellID EndTarget(const CCellID& from, bool control);
    CCellID HomeTarget(const CCellID& from, bool control);
    int NextVisibleLine(bool rows, int from, int step, int first) const;
    int PageRow(UINT code, int row);
    bool IsEditStartChar(UINT nChar) const;

    // Geometry and scrolling helpers
    int TopLeftIndex(const GridAxis& axis, int fixed, int pos) const;
    int LastVisibleIndex(const GridAxis& axis, int first, int start, int limit, int* end) const;
    int CellAt(const GridAxis& axis, int fixed, int topLeft, int offset, int screenOrigin, BOOL allowFixed) const;
    bool OverDivider(bool rows, const CPoint& point);
    bool StartsInsideClient(const GridAxis& axis, int fixed, int topLeft, int index, int limit) const;
    void ScrollAxis(bool vertical, UINT code);
    void ScrollLinesTowards(bool vertical, int target, const CellSpan& visible);
    void OnScrollBarAction(bool vertical, int action);
    void ShowScrollBar(int bar, bool show);
    int ScrollBarExtent(bool vertical) const;
    void InvalidateRect(const CRect& rect);
    CRect ScrollArea(bool vertical) const;
    void ScrollContents(bool vertical, const CCellID& topLeftBefore);

    // Drawing helpers
    void EraseBackground(CDC* dc, const CRect& clip, const CRect& visibleRect);
    void DrawCellBlock(CDC* dc, const CRect& clip, int row0, int row1, int y0, int col0, int col1, int x0);
    void DrawGridLines(CDC* dc, const CRect& clip, const CCellID& topLeft, const CellSpan& visible,
                       const CRect& visibleRect);
    void NotifyCellVisibility(const CellSpan& visible);
    void MeasureRange(UINT style, int* startRow, int* endRow) const;

    // Store
    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    std::vector<std::unique_ptr<GridRow>> m_RowData;
    GridAxis m_rowHeights;
    GridAxis m_colWidths;
    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;
    const CRuntimeClass* m_pRtcDefault;
    CellMap m_SelectedCellMap;
    CellMap m_PrevSelectedCellMap;
    CCellID m_idCurrentCell;
    CCellID m_idTopLeftCell;
    BOOL m_bModified = FALSE;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    // Cells last told they are visible, so a paint tells only the changes.
    std::unordered_set<CGridCellBase*> m_visibleCells;

    // Settings
    BOOL m_bAllowDraw = TRUE;
    int m_nGridLines = GVL_BOTH;
    BOOL m_bEditable = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bSingleColSelection = FALSE;
    BOOL m_bFixedColumnSelection = TRUE;
    BOOL m_bFixedRowSelection = TRUE;
    BOOL m_bSortOnClick = FALSE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bTitleTips = TRUE;
    BOOL m_bSavedTitleTips = TRUE;
    BOOL m_bTrackFocusCell = TRUE;
    BOOL m_bFrameFocus = TRUE;
    BOOL m_bFixedRowHighlightFill = FALSE;
    BOOL m_bFixedColHighlightFill = FALSE;
    BOOL m_bAllowDragAndDrop = TRUE;
    UINT m_nAutoSizeColumnStyle = GVS_BOTH;
    BOOL m_bVScrollAllowed = TRUE;
    BOOL m_bHScrollAllowed = TRUE;
    int m_nRowsPerWheelNotch = 3;
    BOOL m_bDoubleBuffer = TRUE;
    COLORREF m_crGridLineColour = RGB(0xC0, 0xC0, 0xC0);
    COLORREF m_crGridBkColour;
    COLORREF m_crFocusCellBk = RGB(0xFF, 0xFF, 0xFF);
    COLORREF m_crFocusCellText = RGB(0, 0, 0);
    COLORREF m_crHighlight;
    COLORREF m_crHighlightText;
    COLORREF m_crFixedRowHighlight;
    COLORREF m_crFixedColHighlight;
    BOOL m_bPrintColour = TRUE;
    BOOL m_bVirtualMode = FALSE;
    GRIDCALLBACK m_pfnCallback = nullptr;
    LPARAM m_lParam = 0;
    CImageList* m_pImageList = nullptr;
    int m_nResizeCaptureRange = 3;
    BOOL m_bAllowRowResize = TRUE;
    BOOL m_bAllowColumnResize = TRUE;
    BOOL m_bAllowRowHide = TRUE;
    BOOL m_bAllowColHide = TRUE;
    BOOL m_bHiddenRowUnhide = TRUE;
    BOOL m_bHiddenColUnhide = TRUE;
    COLORREF m_crTTipBackClr = CLR_DEFAULT;
    COLORREF m_crTTipTextClr = CLR_DEFAULT;
    BOOL m_bMultiLineEdit = TRUE;
    int m_nRTLReading = 0;
    QString m_strRefusedChars;

    // Remembered system colours, to follow a system colour change.
    COLORREF m_crWindowText;
    COLORREF m_crWindowColour;
    COLORREF m_cr3DFace;
    COLORREF m_crShadow;

    // Scrolling
    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;
    BOOL m_bScrollInProgress = FALSE;
    // Wheel movement short of a whole step, kept for the next event.
    double m_dWheelSteps = 0;

    // Mouse tracking
    // The line a divider drag sizes, and where the tracked point may go.
    int m_nSizingLine = -1;
    CRect m_rcConfine;
    bool m_bConfined = false;
    // The inverted 2-pixel bar of a divider drag, drawn over the cells.
    CRect m_rcTrackBar;
    int m_nQtTimerID = 0;
    // The previous press, to tell the second press of a double click.
    ulong m_lastPressTime = 0;
    QPoint m_lastPressPos;
    bool m_bHavePress = false;

    // Window
    bool m_bCreated = false;
    UINT m_nID = 0;
    bool m_bOwnerSet = false;
    QPointer<QWidget> m_pOwner;

    // ---- Sorting, clipboard and drag and drop (CGridCtrlSort.cpp,
    // CGridCtrlClipboard.cpp, CGridCtrlDragDrop.cpp)
public:
    // Negative, zero or positive, like wcscmp; the LPARAMs are CGridCellBase pointers.
    using PFNLVCOMPARE = int (*)(LPARAM cell1, LPARAM cell2, LPARAM data);
    void SetCompareFunction(PFNLVCOMPARE compare) { m_pfnCompare = compare; }
    BOOL SortTextItems(int col, BOOL ascending, LPARAM data = 0);
    BOOL SortItems(int col, BOOL ascending, LPARAM data = 0);
    BOOL SortItems(PFNLVCOMPARE compare, int col, BOOL ascending, LPARAM data = 0);
    BOOL SortRows(PFNLVCOMPARE compare, int col, BOOL ascending, LPARAM data, int low, int high);
    // The same sort over keys the caller made beforehand, keys[i] for row
    // low + i, given to 'compare' instead of the cells; each key moves with its
    // row. A comparison that is costly on cells can be cheap on such keys.
    BOOL SortRowsByKeys(PFNLVCOMPARE compare, BOOL ascending, LPARAM data, int low, int high,
                        std::vector<LPARAM>& keys);
    // The sorting part of a click on a column header; OnFixedRowClick runs it first.
    void SortByHeaderClick(const CCellID& cell);
    static int CompareCellTexts(LPARAM cell1, LPARAM cell2, LPARAM data);

    void SetItemTextAsEdited(int row, int col, const QString& text);
    void OnUpdateEditCopy(CCmdUI* cmdUI);
    void OnUpdateEditCut(CCmdUI* cmdUI);
    void OnUpdateEditPaste(CCmdUI* cmdUI);
    void OnUpdateEditSelectAll(CCmdUI* cmdUI);
    // Each of these characters separates the fields of a pasted line.
    void SetFieldSeparators(const QString& separators) { m_strFieldSeparators = separators; }
    QString GetFieldSeparators() const { return m_strFieldSeparators; }
    CGridDropTarget* GetDropTarget() const { return m_pDropTarget.get(); }
    CCellID GetDropTargetCell() const { return m_idDropCell; }

protected:
    // Clipboard text comes from any program; a paste looks at a bounded part.
    static QString BoundedPasteText(const QMimeData* data);
    // The first shown row after 'row' (first shown column after 'col'); the
    // row (column) count when there is none.
    int NextShownRow(int row) const;
    int NextShownColumn(int col) const;
    // Every paste records the cells it wrote, so that a move dropped onto
    // this grid clears only the source cells the drop did not fill.
    // BeginPaste forgets the last paste; RecordPasted notes a written cell
    // and takes it out of the selection; PastedFarCorner is the largest row
    // and column written, (-1, -1) when none.
    void BeginPaste();
    void RecordPasted(int row, int col);
    CCellID PastedFarCorner() const { return m_pastedFarCorner; }

private:
    BOOL PrepareSort(int col, BOOL ascending);
    // keys[row - first] is the key of 'row', rows[row - first] the row that
    // will stand there.
    // depthLeft: the partition passes left before the range is heap-sorted.
    void QuickSortRows(PFNLVCOMPARE compare, BOOL ascending, LPARAM data, int first, int low, int high,
                       std::vector<LPARAM>& keys, std::vector<int>& rows, int depthLeft);
    // Row first + i takes the cells and height of row from[i].
    void PlaceRows(int first, const std::vector<int>& from);
    template <typename Put> void WalkSelectionText(const CellSpan& span, int firstRow, int lastRow, Put&& put) const;
    void PrefetchRows(int row, const CellSpan& span) const;
    QString SelectionText(const CellSpan& span) const;
    std::optional<QByteArray> RowsTextUtf8(const CellSpan& span, int firstRow, int lastRow) const;
    std::optional<QByteArray> SelectionTextUtf8(const CellSpan& span) const;
    QWidget* OpenEditorOf(const CCellID& cell) const;
    void PasteLine(QStringView line, int row, int firstCol);
    void ClearMovedCells(const std::vector<CCellID>& source);
    void SetDropHighlight(const CCellID& cell, bool on);
    std::unique_ptr<CGridDropTarget> MakeDropTarget();

    PFNLVCOMPARE m_pfnCompare = nullptr;
    QString m_strFieldSeparators = QStringLiteral("\t");
    std::unordered_set<std::uint64_t> m_pastedCells;
    CCellID m_pastedFarCorner;
    bool m_bOwnDragRunning = false;
    CCellID m_idDropCell;
    // A child of the grid, made with it; it registers on every resize.
    std::unique_ptr<CGridDropTarget> m_pDropTarget;
};
