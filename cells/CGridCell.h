#pragma once

#include "CGridCellBase.h"

#include "platform/SysColors.h"

#include <QPointer>
#include <QWidget>

#include <memory>

// The standard cell: its own text and attributes, each of which may defer to
// the default cell of its region (-1 or CLR_DEFAULT, or no font).
class CGridCell : public CGridCellBase
{
    DECLARE_DYNCREATE(CGridCell)

public:
    CGridCell();
    ~CGridCell() override;

    void SetTextLimit(int limit) override;
    int GetTextLimit() const override;
    void SetText(const QString& text) override;
    void SetImage(int image) override;
    void SetData(LPARAM data) override;
    void SetFormat(DWORD format) override;
    void SetTextClr(COLORREF color) override;
    void SetBackClr(COLORREF color) override;
    void SetFont(const LOGFONTW* font) override;
    void SetMargin(UINT margin) override;
    void SetGrid(CGridCtrl* grid) override;
    void SetCoords(int row, int col) override;

    BOOL IsEditable() const override;
    QString GetText() const override;
    int GetImage() const override;
    LPARAM GetData() const override;
    DWORD GetFormat() const override;
    COLORREF GetTextClr() const override;
    COLORREF GetBackClr() const override;
    const LOGFONTW* GetFont() const override;
    const CFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override;
    QWidget* GetEditWnd() const override;
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override;
    BOOL IsEditing() const override;
    void Reset() override;

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

    virtual void SetEditable(BOOL editable);
    virtual int GetCoordCol() const;
    virtual int GetCoordRow() const;
    virtual BOOL Redraw() const;

protected:
    QString m_strText;
    LPARAM m_lParam = 0;
    int m_nImage = -1;
    DWORD m_nFormat = 0xFFFFFFFFu;
    COLORREF m_crFgClr = CLR_DEFAULT;
    COLORREF m_crBkClr = CLR_DEFAULT;
    std::unique_ptr<LOGFONTW> m_plfFont;
    UINT m_nMargin = 0xFFFFFFFFu;
    BOOL m_bEditing = FALSE;
    CGridCtrl* m_pGrid = nullptr;
    // Not owned: the editor deletes itself when it closes.
    QPointer<QWidget> m_pEditWnd;
    int m_nTextLimit = -1;
    int m_nCol = 0;
    int m_nRow = 0;
    BOOL m_bEditable = TRUE;
};
