#pragma once

#include "WinTypes.h"

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// A GDI pen: style, width (0 = one pixel whatever the scale) and colour.
class CPen
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) : m_nStyle(style), m_nWidth(width), m_color(color) {}

    int GetStyle() const { return m_nStyle; }
    int GetWidth() const { return m_nWidth; }
    COLORREF GetColor() const { return m_color; }

private:
    int m_nStyle = PS_SOLID;
    int m_nWidth = 0;
    COLORREF m_color = 0;
};
