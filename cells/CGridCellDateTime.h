#pragma once

#include "CGridCell.h"

#include <QDateTime>

// A cell holding a point in time, edited with a date/time picker.
class CGridCellDateTime : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellDateTime)

public:
    CGridCellDateTime();
    explicit CGridCellDateTime(DWORD style);

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT nChar) override;
    void EndEdit() override;

    // Style 0 shows the short date, DTS_TIMEFORMAT the time; the time is now.
    void Init(DWORD style);
    void SetTime(const QDateTime& time);
    QDateTime GetTime() const { return m_cTime; }
    DWORD GetStyle() const { return m_dwStyle; }

private:
    QDateTime m_cTime = QDateTime::currentDateTime();
    DWORD m_dwStyle = 0;
};
