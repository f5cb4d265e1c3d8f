#pragma once

#include "CGridCell.h"

#include "platform/ControlStyles.h"

#include <QStringList>

// A cell edited with a combo box of options. While the grid and the cell are
// editable it shows a drop-down button in its top-right corner.
class CGridCellCombo : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellCombo)

public:
    CGridCellCombo();

    QWidget* GetEditWnd() const override;
    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    CSize GetCellExtent(CDC* dc, int row, int col) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;
    void EndEdit() override;

    void SetOptions(const QStringList& options) { m_Strings = options; }
    QStringList GetOptions() const { return m_Strings; }
    // CBS_DROPDOWN (an editable field) or CBS_DROPDOWNLIST (a choice only).
    void SetStyle(DWORD style) { m_dwStyle = style; }
    DWORD GetStyle() const { return m_dwStyle; }

private:
    CRect DropDownButton(int row, int col, const CRect& rect) const;
    void DrawDropDownButton(CDC* dc, const CRect& button);
    COLORREF ShownBackColour() const;

    QStringList m_Strings;
    DWORD m_dwStyle = CBS_DROPDOWN;
    BOOL m_bEndOnSelChange = FALSE;
};
