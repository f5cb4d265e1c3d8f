#pragma once

#include "CellSpan.h"
#include "GridItem.h"

#include "platform/WinTypes.h"

// The records a grid sends with its notifications; each starts with its NMHDR so
// a receiver can tell them apart by code.
struct GridNotify
{
    NMHDR hdr;
    int iRow;
    int iColumn;
};

struct GridSpanNotify
{
    NMHDR hdr;
    CellSpan cellSpan;
};

struct GridDispInfo
{
    NMHDR hdr;
    GridItem item;
};
