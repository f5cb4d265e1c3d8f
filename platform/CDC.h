#pragma once

#include "CPoint.h"
#include "CRect.h"
#include "CSize.h"
#include "GdiDefs.h"
#include "TextWidths.h"
#include "WinTypes.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <optional>
#include <vector>

class CBrush;
class CFont;
class CPen;
class QPainter;

// A device context with GDI semantics over a QPainter: fills exclude the right
// and bottom edge, LineTo leaves out its end point, DrawText knows the DT_ flags.
// Without a painter the context can only measure text (the screen context).
class CDC
{
public:
    enum class Device { Screen, ColorPrinter, MonoPrinter };

    CDC();
    explicit CDC(QPainter* painter, Device device = Device::Screen);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // FALSE when no screen exists to measure on (no GUI application).
    static bool IsScreenAvailable();

    QPainter* GetPainter() const { return m_pPainter; }
    Device GetDevice() const { return m_device; }
    BOOL IsPrinting() const { return m_device != Device::Screen; }
    int GetDeviceCaps(int index) const;

    int SaveDC();
    BOOL RestoreDC(int savedDC);

    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_state.bkColor; }

    // A null font selects the context's stock font.
    const CFont* SelectObject(const CFont* font);
    const CPen* SelectObject(const CPen* pen);
    const CPen* SelectStockObject(int index);
    LONG GetFontEscapement() const { return m_state.escapement; }

    CPoint SetWindowOrg(int x, int y);
    CPoint GetWindowOrg() const { return m_state.windowOrg; }
    int GetClipBox(RECT* rect) const;

    void FillSolidRect(const RECT& rect, COLORREF color);
    void FillRect(const RECT& rect, const CBrush* brush);
    void FrameRect(const RECT& rect, const CBrush* brush);
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);

    // Returns the height of the text; with DT_CALCRECT only measures and
    // extends the rectangle's right and bottom to the text.
    int DrawText(const QString& text, RECT* rect, UINT format);
    CSize GetTextExtent(const QString& text) const;
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const;

private:
    struct State
    {
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = OPAQUE;
        const CFont* font = nullptr;
        QFont qfont;
        LONG escapement = 0;
        const CPen* pen = nullptr;
        CPoint position;
        CPoint windowOrg;
    };

    const TextWidths& Widths() const;
    const QFontMetrics& Metrics() const;
    void FillPixels(int x, int y, int w, int h, COLORREF color);
    void PlotLine(const CPoint& from, const CPoint& to);
    void DrawTextLines(const QStringList& lines, const CRect& rect, UINT format, int top);

    QPainter* m_pPainter = nullptr;
    Device m_device = Device::Screen;
    State m_state;
    std::vector<State> m_saved;
    mutable std::optional<TextWidths> m_widths;
};
