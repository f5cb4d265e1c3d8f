#include "SysColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

bool PaletteRole(int index, QPalette::ColorRole& role)
{
    switch (index) {
    case COLOR_WINDOW: role = QPalette::Base; return true;
    case COLOR_WINDOWTEXT: role = QPalette::Text; return true;
    case COLOR_HIGHLIGHT: role = QPalette::Highlight; return true;
    case COLOR_HIGHLIGHTTEXT: role = QPalette::HighlightedText; return true;
    case COLOR_BTNFACE: role = QPalette::Button; return true;
    case COLOR_BTNSHADOW: role = QPalette::Dark; return true;
    case COLOR_GRAYTEXT: role = QPalette::PlaceholderText; return true;
    case COLOR_BTNTEXT: role = QPalette::ButtonText; return true;
    case COLOR_BTNHIGHLIGHT: role = QPalette::Light; return true;
    case COLOR_3DDKSHADOW: role = QPalette::Shadow; return true;
    case COLOR_3DLIGHT: role = QPalette::Midlight; return true;
    case COLOR_INFOTEXT: role = QPalette::ToolTipText; return true;
    case COLOR_INFOBK: role = QPalette::ToolTipBase; return true;
    case COLOR_HOTLIGHT: role = QPalette::Link; return true;
    default: return false;
    }
}

} // namespace

COLORREF GetSysColor(int index)
{
    QPalette::ColorRole role;
    if (!PaletteRole(index, role))
        return 0;
    return QColorToColorRef(QGuiApplication::palette().color(QPalette::Active, role));
}

QColor ColorRefToQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

COLORREF QColorToColorRef(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}
