#include "VisualStyles.h"

#include "CDC.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QWidget>

enum class ThemeClass { Header, Button, ComboBox };

struct ThemeHandle
{
    QPointer<QWidget> window;
    ThemeClass cls;
};

namespace {

bool g_visualStyles = true;

QStyle* StyleOf(const ThemeHandle* theme)
{
    return theme->window ? theme->window->style() : QApplication::style();
}

void InitOption(QStyleOption& option, const ThemeHandle* theme, const RECT& rect)
{
    if (theme->window)
        option.initFrom(theme->window);
    option.rect = QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    option.state |= QStyle::State_Enabled;
}

bool DrawHeader(const ThemeHandle* theme, QPainter* painter, int part, int state, const RECT& rect)
{
    QStyleOptionHeader option;
    InitOption(option, theme, rect);
    option.position = QStyleOptionHeader::Middle;
    if (part == HP_HEADERITEM) {
        option.state |= state == HIS_PRESSED ? QStyle::State_Sunken : QStyle::State_Raised;
        if (state == HIS_HOT)
            option.state |= QStyle::State_MouseOver;
        StyleOf(theme)->drawControl(QStyle::CE_HeaderSection, &option, painter, theme->window);
        return true;
    }
    if (part == HP_HEADERSORTARROW) {
        option.sortIndicator = state == HSAS_SORTEDUP ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
        StyleOf(theme)->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &option, painter, theme->window);
        return true;
    }
    return false;
}

bool DrawButton(const ThemeHandle* theme, QPainter* painter, int part, int state, const RECT& rect)
{
    QStyleOptionButton option;
    InitOption(option, theme, rect);
    if (part == BP_CHECKBOX) {
        option.state |= state >= CBS_CHECKEDNORMAL ? QStyle::State_On : QStyle::State_Off;
        StyleOf(theme)->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, theme->window);
        return true;
    }
    if (part == BP_PUSHBUTTON) {
        option.state |= state == PBS_PRESSED ? QStyle::State_Sunken : QStyle::State_Raised;
        StyleOf(theme)->drawControl(QStyle::CE_PushButtonBevel, &option, painter, theme->window);
        return true;
    }
    return false;
}

bool DrawComboBox(const ThemeHandle* theme, QPainter* painter, int part, const RECT& rect)
{
    if (part != CP_DROPDOWNBUTTON)
        return false;
    QStyleOptionButton option;
    InitOption(option, theme, rect);
    option.state |= QStyle::State_Raised;
    StyleOf(theme)->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, painter, theme->window);
    StyleOf(theme)->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, painter, theme->window);
    return true;
}

} // namespace

void SetVisualStylesEnabled(bool enabled)
{
    g_visualStyles = enabled;
}

bool AreVisualStylesEnabled()
{
    return g_visualStyles;
}

HTHEME OpenThemeData(QWidget* window, const QString& classList)
{
    if (!g_visualStyles || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    // A class list names alternatives separated by semicolons; the first known one wins.
    for (const QString& name : classList.split(u';')) {
        const QString cls = name.trimmed().toUpper();
        if (cls == u"HEADER")
            return new ThemeHandle{window, ThemeClass::Header};
        if (cls == u"BUTTON")
            return new ThemeHandle{window, ThemeClass::Button};
        if (cls == u"COMBOBOX")
            return new ThemeHandle{window, ThemeClass::ComboBox};
    }
    return nullptr;
}

HTHEME OpenThemeDataEx(QWidget* window, const QString& classList, DWORD)
{
    return OpenThemeData(window, classList);
}

HRESULT CloseThemeData(HTHEME theme)
{
    if (!theme)
        return E_FAIL;
    delete theme;
    return S_OK;
}

HRESULT DrawThemeBackground(HTHEME theme, CDC* dc, int part, int state, const RECT* rect, const RECT* clip)
{
    if (!theme || !dc || !rect || !dc->GetPainter())
        return E_FAIL;
    QPainter* painter = dc->GetPainter();
    painter->save();
    if (clip)
        painter->setClipRect(QRect(clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top),
                             Qt::IntersectClip);
    bool drawn = false;
    switch (theme->cls) {
    case ThemeClass::Header: drawn = DrawHeader(theme, painter, part, state, *rect); break;
    case ThemeClass::Button: drawn = DrawButton(theme, painter, part, state, *rect); break;
    case ThemeClass::ComboBox: drawn = DrawComboBox(theme, painter, part, *rect); break;
    }
    painter->restore();
    return drawn ? S_OK : E_FAIL;
}

HRESULT GetThemePartSize(HTHEME theme, CDC*, int part, int, const RECT*, int, SIZE* size)
{
    if (!theme || !size)
        return E_FAIL;
    QStyle* style = StyleOf(theme);
    if (theme->cls == ThemeClass::Header && part == HP_HEADERSORTARROW) {
        const int mark = style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, theme->window);
        *size = SIZE{mark, mark / 2 + 1};
        return S_OK;
    }
    if (theme->cls == ThemeClass::Button && part == BP_CHECKBOX) {
        *size = SIZE{style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, theme->window),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, theme->window)};
        return S_OK;
    }
    return E_FAIL;
}
