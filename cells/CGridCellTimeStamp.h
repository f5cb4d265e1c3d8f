#pragma once

#include "CGridCell.h"

// A cell holding a time stamp. With reformatting on (the default) a text the
// toolkit understands is stored in the toolkit's own format, and a text it
// refuses is dropped.
class CGridCellTimeStamp : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellTimeStamp)

public:
    CGridCellTimeStamp();

    void SetText(const QString& text) override;

    // 4 or 7: date and time; 5 or 8: date; 6 or 9: time of day.
    void SetTimeKind(UINT kind);
    int GetTimeKind() const { return m_nTimeKind; }
    void SetReformat(BOOL reformat) { m_bReformat = reformat; }
    FILETIME GetTime() const { return m_Time; }
    // -1, 0 or 1 by time; -1 when other is no time-stamp cell.
    int Compare(const CObject* other) const;

private:
    bool Parse(const QString& text);

    FILETIME m_Time{};
    int m_nTimeKind = 2;
    BOOL m_bReformat = TRUE;
};
