#pragma once

#include "WinTypes.h"

#include <QString>

class CDC;
class QWidget;

// Visual-style theme functions drawn by the widget's QStyle. Switching themes
// off makes OpenThemeData fail, so callers take their classic drawing path.
using HTHEME = struct ThemeHandle*;

// Theme classes, parts and states the grid and its cells use.
constexpr int HP_HEADERITEM = 1;
constexpr int HP_HEADERSORTARROW = 4;
constexpr int HIS_NORMAL = 1;
constexpr int HIS_HOT = 2;
constexpr int HIS_PRESSED = 3;
constexpr int HSAS_SORTEDUP = 1;
constexpr int HSAS_SORTEDDOWN = 2;
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_CHECKBOX = 3;
constexpr int PBS_NORMAL = 1;
constexpr int PBS_PRESSED = 3;
constexpr int CBS_UNCHECKEDNORMAL = 1;
constexpr int CBS_CHECKEDNORMAL = 5;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int TS_MIN = 0;
constexpr int TS_TRUE = 1;
constexpr int TS_DRAW = 2;

void SetVisualStylesEnabled(bool enabled);
bool AreVisualStylesEnabled();

// Known classes: "HEADER", "BUTTON", "COMBOBOX"; others give null.
HTHEME OpenThemeData(QWidget* window, const QString& classList);
HTHEME OpenThemeDataEx(QWidget* window, const QString& classList, DWORD flags);
HRESULT CloseThemeData(HTHEME theme);
HRESULT DrawThemeBackground(HTHEME theme, CDC* dc, int part, int state, const RECT* rect, const RECT* clip);
HRESULT GetThemePartSize(HTHEME theme, CDC* dc, int part, int state, const RECT* rect, int sizeType, SIZE* size);
