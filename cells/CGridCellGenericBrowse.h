#pragma once

#include "CGridCell.h"

// A cell with a small push button ("..." by default) that a grid can answer
// with a browse dialog of its own; the click posts the click message.
class CGridCellGenericBrowse : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellGenericBrowse)

public:
    // Button placement bits; neither bit places it at the left.
    static constexpr DWORD PLACE_CENTER = 1;
    static constexpr DWORD PLACE_RIGHT = 2;
    static constexpr int BUTTON_WIDTH = 20;

    CGridCellGenericBrowse();

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    BOOL GetTextRect(LPRECT rect) override;
    BOOL PrintCell(CDC* dc, int row, int col, CRect rect) override;
    void OnClick(CPoint pointCellRelative) override;
    void OnClickDown(CPoint pointCellRelative) override;

    virtual void SetButtonPlacement(DWORD placement);

    void SetClickMessage(UINT message) { m_nClickMessage = message; }
    UINT GetClickMessage() const { return m_nClickMessage; }
    void SetButtonText(const QString& caption) { m_strButtonText = caption; }
    BOOL IsPressed() const { return m_bPressed; }
    // The button within the rectangle the cell was last drawn in.
    CRect GetButtonRect() const;

private:
    void DrawButton(CDC* dc);

    DWORD m_dwPlacement = PLACE_RIGHT;
    UINT m_nClickMessage = 0;
    BOOL m_bPressed = FALSE;
    CRect m_Rect;
    QString m_strButtonText = QStringLiteral("...");
};
