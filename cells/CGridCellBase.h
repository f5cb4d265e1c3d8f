#pragma once

#include "grid/GridDefs.h"
#include "platform/CDC.h"
#include "platform/CObject.h"
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/CSize.h"
#include "platform/LogFont.h"
#include "platform/VisualStyles.h"
#include "platform/WinTypes.h"

#include <QString>

class CFont;
class CGridCtrl;
class CGridDefaultCell;
class QWidget;

// Quality code of a good value; any other quality masks the drawn text.
constexpr WORD QUALITY_GOOD = 192;

// A cell holds, draws, measures and edits one grid position. The grid reaches
// it only through these virtual operations, whose order every cell class keeps.
class CGridCellBase : public CObject
{
    DECLARE_DYNAMIC(CGridCellBase)

public:
    ~CGridCellBase() override = default;

    virtual void SetTextLimit(int limit) = 0;
    virtual int GetTextLimit() const = 0;
    virtual void SetTextFromResource(UINT id);
    virtual void SetText(const QString& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(LPARAM data) = 0;
    virtual void SetState(DWORD state);
    virtual void SetFormat(DWORD format) = 0;
    virtual void SetTextClr(COLORREF color) = 0;
    virtual void SetBackClr(COLORREF color) = 0;
    virtual void SetFont(const LOGFONTW* font) = 0;
    virtual void SetMargin(UINT margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int row, int col) = 0;
    virtual WORD GetQuality() const;
    virtual void SetQuality(WORD quality);

    virtual BOOL IsEditable() const = 0;
    virtual QString GetText() const = 0;
    virtual QString GetTipText() const;
    virtual QString GetDisplayText(int row, int col) const;
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const;
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual const LOGFONTW* GetFont() const = 0;
    virtual const CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual QWidget* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    // A copy may ask from a second thread while the grid's thread waits for
    // it: it only reads the cell.
    virtual QString GetCopyText() const;
    virtual CGridDefaultCell* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    // Whether the state holds the bit; the predicates below read one each.
    BOOL HasState(DWORD bit) const { return (GetState() & bit) != 0; }
    virtual BOOL IsFocused() const { return HasState(GRIDIS_FOCUSED); }
    virtual BOOL IsFixed() const { return HasState(GRIDIS_FIXED); }
    virtual BOOL IsFixedCol() const { return HasState(GRIDIS_FIXEDCOL); }
    virtual BOOL IsFixedRow() const { return HasState(GRIDIS_FIXEDROW); }
    virtual BOOL IsSelected() const { return HasState(GRIDIS_SELECTED); }
    virtual BOOL IsReadOnly() const { return HasState(GRIDIS_READONLY); }
    virtual BOOL IsModified() const { return HasState(GRIDIS_MODIFIED); }
    virtual BOOL IsDropHighlighted() const { return HasState(GRIDIS_DROPHILITED); }

    virtual void CopyFrom(const CGridCellBase* source);
    virtual void Reset();

    virtual BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE);
    virtual BOOL GetTextRect(LPRECT rect);
    virtual BOOL GetTipTextRect(LPRECT rect);
    virtual CSize GetTextExtent(const QString& text, CDC* dc = nullptr);
    // GetTextExtent(text).cy, without shaping a text that keeps to one line.
    int GetTextHeight(const QString& text);
    virtual CSize GetCellExtent(CDC* dc, int row, int col);

    virtual BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar);
    virtual BOOL ValidateEdit(const QString& text);
    virtual void EndEdit();

    virtual BOOL PrintCell(CDC* dc, int row, int col, CRect rect);
    virtual void SetVisible(BOOL visible);
    virtual void OnEndEdit();
    virtual void OnMouseEnter();
    virtual void OnMouseOver();
    virtual void OnMouseLeave();
    virtual void OnClick(CPoint pointCellRelative);
    virtual void OnClickDown(CPoint pointCellRelative);
    virtual void OnRClick(CPoint pointCellRelative);
    virtual void OnDblClick(CPoint pointCellRelative);
    virtual BOOL OnSetCursor();

    CGridCellBase& operator=(const CGridCellBase& source);

protected:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;

    // The raised frame of a fixed cell in the classic look; shrinks the rectangle.
    static void DrawRaisedFrame(CDC* dc, CRect& rect);

private:
    void PaintBackground(CDC* dc, CRect& rect, COLORREF textClr, COLORREF backClr, BOOL erase);
    void PaintFixedLook(CDC* dc, int row, int col, CRect& rect, HTHEME theme);
    void PaintSortArrow(CDC* dc, CRect& rect, HTHEME theme);
    void PaintImage(CDC* dc, const CRect& rect);
    QString MaskedText(const QString& text) const;

    WORD m_wQuality = QUALITY_GOOD;
    DWORD m_nState = 0;
};
