#pragma once

#include "CGridCell.h"

// A cell showing a check box over its text. Its state is the checked flag;
// its text becomes a single space once the state has been set, and it copies
// as "1" or "0".
class CGridCellCheck : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellCheck)

public:
    CGridCellCheck();

    QString GetCopyText() const override;
    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;
    BOOL ValidateEdit(const QString& text) override;
    BOOL PrintCell(CDC* dc, int row, int col, CRect rect) override;
    void OnClick(CPoint pointCellRelative) override;

    virtual void SetCheckMessage(UINT message);

    // Returns the previous state.
    BOOL SetCheck(BOOL checked = TRUE);
    BOOL GetCheck() const { return m_bChecked; }
    // The box within the rectangle the cell was last drawn in.
    CRect GetCheckPlacement() const;

private:
    void Toggle();
    void DrawCheckBox(CDC* dc);

    UINT m_nCheckMessage = 0;
    BOOL m_bChecked = FALSE;
    CRect m_Rect;
};
