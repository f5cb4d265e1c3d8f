#pragma once

#include "WinTypes.h"

// A solid GDI brush.
class CBrush
{
public:
    explicit CBrush(COLORREF color) : m_color(color) {}

    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color;
};
