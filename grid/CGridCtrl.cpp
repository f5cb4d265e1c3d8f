#include "CGridCtrl.h"

#include "CGridDropTarget.h"
#include "NotifyReceiver.h"

#include "cells/CGridCell.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QScrollBar>

#include <new>

// Creation, settings and the notifications the grid sends.

IMPLEMENT_DYNCREATE(CGridCtrl, CObject)

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_pRtcDefault(RUNTIME_CLASS(CGridCell))
    , m_pDropTarget(MakeDropTarget())
{
    m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = GetSysColor(COLOR_WINDOW);
    m_cr3DFace = GetSysColor(COLOR_BTNFACE);
    m_crShadow = GetSysColor(COLOR_BTNSHADOW);
    m_crGridBkColour = m_crShadow;
    m_crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    m_crHighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_crFixedRowHighlight = m_crWindowColour;
    m_crFixedColHighlight = m_crWindowColour;
    m_nRowsPerWheelNotch = QApplication::wheelScrollLines();

    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        cell->SetGrid(this);
        cell->SetTextClr(m_crWindowText);
        cell->SetBackClr(m_cr3DFace);
    }
    m_cellDefault.SetBackClr(m_crWindowColour);

    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Hovering drives the resize cursors and the title tip.
    viewport()->setMouseTracking(true);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(true, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(false, action); });
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl()
{
    // The drop target filters this window's events: it must go before the
    // window is only a QWidget any more.
    m_pDropTarget.reset();
    // An editor still open ends before its cell goes; no notification goes
    // out of a window that is going.
    m_bCreated = false;
    DeleteAllItems();
    if (m_bTitleTips)
        m_TitleTip.DestroyWindow();
}

BOOL CGridCtrl::Create(const RECT& rect, QWidget* parent, UINT nID, DWORD dwStyle)
{
    setParent(parent);
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setFrameStyle((dwStyle & WS_BORDER) ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
    setFocusPolicy((dwStyle & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    m_nID = nID;
    m_bCreated = true;
    try {
        m_rowHeights.Resize(0, 0);
        m_rowHeights.Resize(m_nRows, static_cast<UINT>(m_cellDefault.GetHeight()));
        m_colWidths.Resize(0, 0);
        m_colWidths.Resize(m_nCols, static_cast<UINT>(m_cellDefault.GetWidth()));
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return FALSE;
    }
    if (dwStyle & WS_VISIBLE)
        show();
    ResetScrollBars();
    // The window is complete here, yet the result is FALSE: the last step,
    // registering for touch input, never succeeds on this platform, and
    // callers have always seen that result.
    return FALSE;
}

void CGridCtrl::SetOwner(QWidget* owner)
{
    m_bOwnerSet = owner != nullptr;
    m_pOwner = owner;
}

void CGridCtrl::ReportOutOfMemory() const
{
    AfxMessageBox(QStringLiteral("Out of memory."));
}

// ---------------------------------------------------------------- sort column

void CGridCtrl::ClearSortColumn()
{
    const int old = m_nSortColumn;
    m_nSortColumn = -1;
    if (old >= 0)
        InvalidateCellRect(CCellID(0, old));
}

void CGridCtrl::SetSortColumn(int col)
{
    if (m_nSortColumn >= 0)
        InvalidateCellRect(CCellID(0, m_nSortColumn));
    m_nSortColumn = col;
    if (col >= 0)
        InvalidateCellRect(CCellID(0, col));
}

// ---------------------------------------------------------------- virtual mode

void CGridCtrl::SetVirtualMode(BOOL virtualMode)
{
    DeleteAllItems();
    m_bVirtualMode = virtualMode;
    if (virtualMode) {
        m_bEditable = FALSE;
        m_bSortOnClick = FALSE;
        m_bFixedColumnSelection = FALSE;
        m_bFixedRowSelection = FALSE;
        m_nAutoSizeColumnStyle = GVS_HEADER;
    }
}

void CGridCtrl::SetCallbackFunc(GRIDCALLBACK callback, LPARAM lParam)
{
    m_pfnCallback = callback;
    m_lParam = lParam;
}

// ---------------------------------------------------------------- notifications

CNotifyReceiver* CGridCtrl::NotifyReceiver() const
{
    QWidget* receiver = m_bOwnerSet ? m_pOwner.data() : parentWidget();
    return dynamic_cast<CNotifyReceiver*>(receiver);
}

NMHDR CGridCtrl::MakeHeader(int code) const
{
    return NMHDR{const_cast<CGridCtrl*>(this), m_nID, code};
}

LRESULT CGridCtrl::SendNotify(NMHDR* header) const
{
    if (!m_bCreated)
        return 0;
    LRESULT result = 0;
    // The grid's own handling of a notification comes first, as a reflection would.
    if (const_cast<CGridCtrl*>(this)->OnReflectedNotify(header, &result))
        return result;
    CNotifyReceiver* receiver = NotifyReceiver();
    return receiver ? receiver->OnNotify(m_nID, header) : 0;
}

BOOL CGridCtrl::OnReflectedNotify(NMHDR*, LRESULT*)
{
    return FALSE;
}

LRESULT CGridCtrl::SendMessageToParent(int row, int col, int code) const
{
    GridNotify notify{MakeHeader(code), row, col};
    return SendNotify(&notify.hdr);
}

LRESULT CGridCtrl::SendDisplayRequestToParent(GridDispInfo* dispInfo) const
{
    if (!dispInfo)
        return 0;
    dispInfo->hdr = MakeHeader(GRIDN_GETDISPINFO);
    return SendNotify(&dispInfo->hdr);
}

LRESULT CGridCtrl::SendCacheHintToParent(const CellSpan& span) const
{
    GridSpanNotify notify{MakeHeader(GRIDN_CACHEHINT), span};
    return SendNotify(&notify.hdr);
}
