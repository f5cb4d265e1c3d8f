#pragma once

#include "CGridCell.h"

// Supplies the text to show for a cell: TRUE with a terminated text in the
// buffer (at most size characters, the terminator included).
using NumericDisplayCallback = BOOL (*)(LPARAM userValue, int row, int col, WCHAR* buffer, int size);

// A cell holding a number, real (kind 2) or integer (any other kind), whose
// editor accepts only numbers of its kind.
class CGridCellNumeric : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellNumeric)

public:
    static constexpr int KIND_REAL = 2;
    static constexpr int DISPLAY_BUFFER = 255;

    CGridCellNumeric();

    void SetText(const QString& text) override;
    QString GetDisplayText(int row, int col) const override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;

    void SetNumber(double number);
    double GetNumber() const { return m_dValue; }
    void SetNumberKind(int kind) { m_nNumberKind = kind; }
    int GetNumberKind() const { return m_nNumberKind; }
    void SetDisplayCallback(LPARAM userValue, NumericDisplayCallback callback);

private:
    int m_nNumberKind = KIND_REAL;
    double m_dValue = 0.0;
    LPARAM m_lDisplayData = 0;
    NumericDisplayCallback m_pfnDisplay = nullptr;
};
