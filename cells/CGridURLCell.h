#pragma once

#include "CGridCell.h"

// A cell whose text may hold links; a click on a link opens it with the
// desktop's handler. It is never edited in place.
class CGridURLCell : public CGridCell
{
    DECLARE_DYNCREATE(CGridURLCell)

public:
    CGridURLCell();

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;
    void OnClick(CPoint pointCellRelative) override;
    BOOL OnSetCursor() override;

    static BOOL HasUrl(const QString& text);
    // Whether the word under a point relative to the cell is a link.
    BOOL OverUrl(CPoint pointCellRelative, QString* url);

    void SetUrlColour(COLORREF colour) { m_clrUrl = colour; }
    COLORREF GetUrlColour() const { return m_clrUrl; }
    void SetAutoLaunchUrl(BOOL launch) { m_bLaunchUrl = launch; }
    BOOL GetAutoLaunchUrl() const { return m_bLaunchUrl; }

private:
    bool OverText(int x, int textWidth) const;
    int CharacterIndexAt(int xCellRelative, int textWidth, int length) const;

    COLORREF m_clrUrl;
    BOOL m_bLaunchUrl = TRUE;
    CRect m_Rect;
};
