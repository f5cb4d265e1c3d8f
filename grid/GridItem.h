#pragma once

#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <QString>

// Several properties of one cell at once; mask says which fields are meant.
struct GridItem
{
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT nState = 0;
    UINT nFormat = 0;
    int iImage = -1;
    COLORREF crBkClr = 0;
    COLORREF crFgClr = 0;
    LPARAM lParam = 0;
    LOGFONTW lfFont{};
    UINT nMargin = 0;
    QString strText;
};
