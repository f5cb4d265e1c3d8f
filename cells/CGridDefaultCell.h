#pragma once

#include "CGridCell.h"

#include "platform/CFont.h"

// The fall-back attributes of one region of the grid (ordinary, fixed row,
// fixed column, corner). Never editable: it reports itself read-only.
class CGridDefaultCell : public CGridCell
{
    DECLARE_DYNCREATE(CGridDefaultCell)

public:
    CGridDefaultCell();
    ~CGridDefaultCell() override;

    void SetData(LPARAM data) override;
    void SetState(DWORD state) override;
    void SetFont(const LOGFONTW* font) override;
    void SetCoords(int row, int col) override;
    DWORD GetState() const override;
    const LOGFONTW* GetFont() const override;
    const CFont* GetFontObject() const override;

    virtual int GetExtraValue() const;
    virtual void SetExtraValue(int value);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);

private:
    int m_nWidth = 30;
    int m_nHeight = 10;
    CFont m_Font;
    int m_nExtraValue = 0;
};
