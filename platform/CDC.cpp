#include "CDC.h"

#include "CBrush.h"
#include "CFont.h"
#include "CPen.h"
#include "SysColors.h"
#include "TextWidths.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// Escapements are tenths of a degree, counter-clockwise: 90 degrees (or -270)
// reads from bottom to top, -90 (or 270) from top to bottom.
bool ReadsUpwards(LONG escapement)
{
    return escapement == 900 || escapement == -2700;
}

bool ReadsDownwards(LONG escapement)
{
    return escapement == -900 || escapement == 2700;
}

const CPen kBlackPen(PS_SOLID, 0, 0);
const CPen kNullPen(PS_NULL, 0, 0);

QFont StockFont()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::font() : QFont();
}

// "&x" underlines x in GDI; here the marker is only removed, "&&" gives "&".
QString StripPrefix(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// Line feeds, CR LF and lone CRs each end a line, as in GDI.
QStringList SplitParagraphs(const QString& text)
{
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            current += c;
        }
    }
    lines << current;
    return lines;
}

// Breaks between words; a word wider than the line is split between characters
// only like an edit control would, otherwise it runs past the edge.
void WrapParagraph(const QString& paragraph, int width, bool breakWords, const TextWidths& fm, QStringList& out)
{
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype end = i;
        while (end < paragraph.size() && paragraph[end] != u' ')
            ++end;
        while (end < paragraph.size() && paragraph[end] == u' ')
            ++end;
        const QString word = paragraph.mid(i, end - i);
        const QString candidate = line + word;
        if (fm.Advance(candidate.trimmed()) <= width || line.isEmpty()) {
            line = candidate;
        } else {
            out << line.trimmed();
            line = word;
        }
        while (breakWords && line.size() > 1 && fm.Advance(line.trimmed()) > width) {
            qsizetype fit = 1;
            while (fit < line.size() && fm.Advance(line.left(fit + 1)) <= width)
                ++fit;
            out << line.left(fit);
            line = line.mid(fit);
        }
        i = end;
    }
    out << line.trimmed();
}

QString ElideEnd(const QString& line, int width, const TextWidths& fm)
{
    // Glyphs are rarely narrower than half a pixel: no more characters than
    // this can show, so a text of megabytes is measured no more than a short one.
    const qsizetype showable = 2 * qsizetype(std::max(width, 0)) + 16;
    if (line.size() <= showable && fm.Advance(line) <= width)
        return line;
    const QString dots = QStringLiteral("...");
    qsizetype lo = 0;
    qsizetype hi = std::min(line.size(), showable);
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (fm.Advance(line.left(mid) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return line.left(lo) + dots;
}

QStringList LayoutLines(const QString& raw, int width, UINT format, const TextWidths& fm)
{
    const QString text = (format & DT_NOPREFIX) ? raw : StripPrefix(raw);
    if (format & DT_SINGLELINE) {
        QString line = text;
        line.replace(u'\r', u' ').replace(u'\n', u' ');
        return {line};
    }
    const QStringList paragraphs = SplitParagraphs(text);
    if (!(format & DT_WORDBREAK))
        return paragraphs;
    QStringList lines;
    for (const QString& p : paragraphs)
        WrapParagraph(p, width, format & DT_EDITCONTROL, fm, lines);
    return lines;
}

} // namespace

CDC::CDC()
{
    m_state.qfont = StockFont();
}

CDC::CDC(QPainter* painter, Device device) : m_pPainter(painter), m_device(device)
{
    m_state.qfont = StockFont();
}

CDC::~CDC() = default;

bool CDC::IsScreenAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen();
}

int CDC::GetDeviceCaps(int index) const
{
    if (index == NUMCOLORS)
        return m_device == Device::MonoPrinter ? 2 : -1;
    return 0;
}

int CDC::SaveDC()
{
    m_saved.push_back(m_state);
    if (m_pPainter)
        m_pPainter->save();
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int savedDC)
{
    const int depth = static_cast<int>(m_saved.size());
    const int target = savedDC < 0 ? depth + savedDC + 1 : savedDC;
    if (target < 1 || target > depth)
        return FALSE;
    while (static_cast<int>(m_saved.size()) >= target) {
        m_state = m_saved.back();
        m_saved.pop_back();
        if (m_pPainter)
            m_pPainter->restore();
    }
    m_widths.reset();
    return TRUE;
}

int CDC::SetBkMode(int mode)
{
    return std::exchange(m_state.bkMode, mode);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return std::exchange(m_state.textColor, color);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return std::exchange(m_state.bkColor, color);
}

const CFont* CDC::SelectObject(const CFont* font)
{
    const CFont* old = m_state.font;
    m_state.font = font;
    // The context keeps its own copy, as GDI keeps the handle: later changes to
    // the font object do not reach text drawn with this selection.
    const bool useFont = font && font->IsCreated();
    m_state.qfont = useFont ? font->GetQFont() : StockFont();
    m_state.escapement = useFont ? font->GetEscapement() : 0;
    m_widths.reset();
    return old;
}

const CPen* CDC::SelectObject(const CPen* pen)
{
    return std::exchange(m_state.pen, pen);
}

const CPen* CDC::SelectStockObject(int index)
{
    return SelectObject(index == NULL_PEN ? &kNullPen : &kBlackPen);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    const CPoint old = m_state.windowOrg;
    if (m_pPainter)
        m_pPainter->translate(old.x - x, old.y - y);
    m_state.windowOrg = CPoint(x, y);
    return old;
}

int CDC::GetClipBox(RECT* rect) const
{
    QRect box;
    if (m_pPainter && m_pPainter->device()) {
        if (m_pPainter->hasClipping()) {
            box = m_pPainter->clipBoundingRect().toAlignedRect();
        } else {
            const QPaintDevice* device = m_pPainter->device();
            box = m_pPainter->transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
        }
    }
    if (rect)
        *rect = RECT{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
    return box.isEmpty() ? NULLREGION : SIMPLEREGION;
}

void CDC::FillPixels(int x, int y, int w, int h, COLORREF color)
{
    if (m_pPainter && w > 0 && h > 0)
        m_pPainter->fillRect(QRect(x, y, w, h), ColorRefToQColor(color));
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color)
{
    // Like MFC's, which paints with the background colour and leaves it set.
    SetBkColor(color);
    FillPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, color);
}

void CDC::FillRect(const RECT& rect, const CBrush* brush)
{
    if (brush)
        FillPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, brush->GetColor());
}

void CDC::FrameRect(const RECT& rect, const CBrush* brush)
{
    const CRect r(rect);
    if (!brush || r.IsRectEmpty())
        return;
    const COLORREF c = brush->GetColor();
    FillPixels(r.left, r.top, r.Width(), 1, c);
    FillPixels(r.left, r.bottom - 1, r.Width(), 1, c);
    FillPixels(r.left, r.top, 1, r.Height(), c);
    FillPixels(r.right - 1, r.top, 1, r.Height(), c);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags)
{
    if (!rect)
        return FALSE;
    struct Ring
    {
        UINT raised, sunken;
        int raisedTopLeft, raisedBottomRight, sunkenTopLeft, sunkenBottomRight;
    };
    // Outer ring first, then the inner one inside it; GDI's colours for each.
    const Ring rings[] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
    CRect r(*rect);
    for (const Ring& ring : rings) {
        if (!(edge & (ring.raised | ring.sunken)))
            continue;
        const bool raised = edge & ring.raised;
        const COLORREF topLeft = GetSysColor(raised ? ring.raisedTopLeft : ring.sunkenTopLeft);
        const COLORREF bottomRight = GetSysColor(raised ? ring.raisedBottomRight : ring.sunkenBottomRight);
        if (flags & BF_LEFT)
            FillPixels(r.left, r.top, 1, r.Height(), topLeft);
        if (flags & BF_TOP)
            FillPixels(r.left, r.top, r.Width(), 1, topLeft);
        if (flags & BF_RIGHT)
            FillPixels(r.right - 1, r.top, 1, r.Height(), bottomRight);
        if (flags & BF_BOTTOM)
            FillPixels(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
        r.DeflateRect((flags & BF_LEFT) ? 1 : 0, (flags & BF_TOP) ? 1 : 0, (flags & BF_RIGHT) ? 1 : 0,
                      (flags & BF_BOTTOM) ? 1 : 0);
    }
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}

CPoint CDC::MoveTo(int x, int y)
{
    return std::exchange(m_state.position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y)
{
    const CPoint from = m_state.position;
    m_state.position = CPoint(x, y);
    const CPen* pen = m_state.pen ? m_state.pen : &kBlackPen;
    if (!m_pPainter || pen->GetStyle() == PS_NULL)
        return TRUE;
    if (pen->GetWidth() > 1) {
        m_pPainter->save();
        m_pPainter->setPen(QPen(ColorRefToQColor(pen->GetColor()), pen->GetWidth()));
        m_pPainter->drawLine(from.x, from.y, x, y);
        m_pPainter->restore();
        return TRUE;
    }
    PlotLine(from, m_state.position);
    return TRUE;
}

// One-pixel line from 'from' up to but not including 'to'.
void CDC::PlotLine(const CPoint& from, const CPoint& to)
{
    const CPen* pen = m_state.pen ? m_state.pen : &kBlackPen;
    const COLORREF c = pen->GetColor();
    if (from.y == to.y) {
        FillPixels(std::min(from.x, to.x + 1), from.y, std::abs(to.x - from.x), 1, c);
        return;
    }
    if (from.x == to.x) {
        FillPixels(from.x, std::min(from.y, to.y + 1), 1, std::abs(to.y - from.y), c);
        return;
    }
    const int dx = std::abs(to.x - from.x), sx = from.x < to.x ? 1 : -1;
    const int dy = -std::abs(to.y - from.y), sy = from.y < to.y ? 1 : -1;
    int err = dx + dy;
    int x = from.x, y = from.y;
    while (x != to.x || y != to.y) {
        FillPixels(x, y, 1, 1, c);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

const TextWidths& CDC::Widths() const
{
    if (!m_widths)
        m_widths.emplace(m_state.qfont, m_pPainter ? m_pPainter->device() : nullptr);
    return *m_widths;
}

const QFontMetrics& CDC::Metrics() const
{
    return Widths().Metrics();
}

CSize CDC::GetTextExtent(const QString& text) const
{
    return CSize(Widths().Advance(text), Metrics().height());
}

BOOL CDC::GetTextMetrics(TEXTMETRICW* metrics) const
{
    if (!metrics)
        return FALSE;
    const QFontMetrics& fm = Metrics();
    *metrics = TEXTMETRICW{};
    metrics->tmHeight = fm.height();
    metrics->tmAscent = fm.ascent();
    metrics->tmDescent = fm.descent();
    metrics->tmInternalLeading = std::max(0, fm.height() - m_state.qfont.pixelSize());
    metrics->tmExternalLeading = fm.leading();
    metrics->tmAveCharWidth = fm.averageCharWidth();
    metrics->tmMaxCharWidth = fm.maxWidth();
    metrics->tmOverhang = 0;
    return TRUE;
}

int CDC::DrawText(const QString& text, RECT* rect, UINT format)
{
    if (!rect)
        return 0;
    CRect r(*rect);
    // Vertical fonts lay the text out along the rectangle's height.
    const bool vertical = ReadsUpwards(m_state.escapement) || ReadsDownwards(m_state.escapement);
    const int lineWidth = vertical ? r.Height() : r.Width();
    const int boxHeight = vertical ? r.Width() : r.Height();
    const TextWidths& widths = Widths();
    const QFontMetrics& fm = widths.Metrics();
    QStringList lines = LayoutLines(text, lineWidth, format, widths);
    const int lineHeight = fm.height();

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, widths.Advance(line));
        const int height = lineHeight * static_cast<int>(lines.size());
        rect->right = rect->left + (vertical ? height : widest);
        rect->bottom = rect->top + (vertical ? widest : height);
        return height;
    }
    if (format & DT_EDITCONTROL) {
        // An edit control shows no partly visible last line.
        const qsizetype fit = std::max<qsizetype>(1, boxHeight / std::max(1, lineHeight));
        if (lines.size() > fit)
            lines = lines.mid(0, fit);
    }
    if (format & DT_END_ELLIPSIS) {
        for (QString& line : lines)
            line = ElideEnd(line, lineWidth, widths);
    }
    const int height = lineHeight * static_cast<int>(lines.size());
    int top = 0;
    if (format & DT_BOTTOM)
        top = boxHeight - height;
    else if (format & DT_VCENTER)
        top = (boxHeight - height) / 2;
    if (!m_pPainter)
        return height;
    const int result = (format & (DT_VCENTER | DT_BOTTOM)) ? top + height : height;
    // Empty lines put down no glyphs and no background: empty cells cost nothing.
    if (std::all_of(lines.cbegin(), lines.cend(), [](const QString& line) { return line.isEmpty(); }))
        return result;

    m_pPainter->save();
    if (!(format & DT_NOCLIP))
        m_pPainter->setClipRect(QRect(r.left, r.top, r.Width(), r.Height()), Qt::IntersectClip);
    m_pPainter->setFont(m_state.qfont);
    CRect layout(0, 0, lineWidth, boxHeight);
    if (ReadsUpwards(m_state.escapement)) {
        m_pPainter->translate(r.left, r.bottom);
        m_pPainter->rotate(-90);
    } else if (vertical) {
        m_pPainter->translate(r.right, r.top);
        m_pPainter->rotate(90);
    } else {
        layout = r;
    }
    DrawTextLines(lines, layout, format, layout.top + top);
    m_pPainter->restore();
    return result;
}

void CDC::DrawTextLines(const QStringList& lines, const CRect& rect, UINT format, int top)
{
    const TextWidths& widths = Widths();
    const QFontMetrics& fm = widths.Metrics();
    m_pPainter->setPen(ColorRefToQColor(m_state.textColor));
    int y = top;
    for (const QString& line : lines) {
        const int w = widths.Advance(line);
        int x = rect.left;
        if (format & DT_RIGHT)
            x = rect.right - w;
        else if (format & DT_CENTER)
            x = rect.left + (rect.Width() - w) / 2;
        if (m_state.bkMode == OPAQUE)
            m_pPainter->fillRect(QRect(x, y, w, fm.height()), ColorRefToQColor(m_state.bkColor));
        widths.Draw(m_pPainter, QPoint(x, y + fm.ascent()), line);
        y += fm.height();
    }
}
