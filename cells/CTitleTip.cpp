#include "CTitleTip.h"

#include "CInPlaceLink.h"

#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/GdiDefs.h"
#include "platform/ScreenMetrics.h"
#include "platform/TickCount.h"
#include "platform/WindowMapping.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kScreenBorder = 8;
constexpr Qt::WindowFlags kTipFlags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
// The window lies 3 pixels left of and 1 above the text, and is 4 wider and 3 higher.
const CRect kTextInWindow(3, 1, -1, -2);

} // namespace

CTitleTip::CTitleTip() : QWidget(nullptr, kTipFlags), m_dwDblClickMsecs(GetDoubleClickTime())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    connect(qApp, &QApplication::focusChanged, this, &CTitleTip::OnFocusChanged);
}

CTitleTip::~CTitleTip()
{
    qApp->removeEventFilter(this);
}

BOOL CTitleTip::Create(QWidget* parent)
{
    if (m_bCreated)
        return TRUE;
    if (!parent)
        return FALSE;
    m_pParentWnd = parent;
    // Owned by the grid's window, so that it goes with it, but a window of its own.
    setParent(parent, kTipFlags);
    m_bCreated = TRUE;
    return TRUE;
}

void CTitleTip::DestroyWindow()
{
    Hide();
    m_bCreated = FALSE;
}

void CTitleTip::Show(CRect rectTitle, const QString& title, int xOffset, int maxChars, const CRect* hoverRect,
                     const LOGFONTW* font, COLORREF textColor, COLORREF backColor)
{
    if (!m_bCreated)
        Create(m_pParentWnd);
    if (!m_bCreated || !m_pParentWnd || rectTitle.IsRectEmpty() || isVisible())
        return;
    m_rectHover = hoverRect ? *hoverRect : rectTitle;
    m_rectHover.InflateRect(1, 1);
    // A program in the background shows no tips.
    if (!QApplication::focusWidget())
        return;

    const QString text = title + QStringLiteral("  ");
    const LOGFONTW logFont = font ? *font : LogFontFromQFont(GridWindowFont(m_pParentWnd));
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logFont);
    const CRect tip = PlaceTip(ClientToScreen(m_pParentWnd, rectTitle), xOffset, maxChars, text);
    if (tip.IsRectEmpty())
        return;

    m_strText = text;
    m_crText = textColor;
    m_crBack = backColor;
    setGeometry(tip.left - 3, tip.top - 1, tip.Width() + 4, tip.Height() + 3);
    m_rectTitle =
        CRect(kTextInWindow.left, kTextInWindow.top, width() + kTextInWindow.right, height() + kTextInWindow.bottom);
    qApp->installEventFilter(this);
    show();
    update();
}

void CTitleTip::Hide()
{
    if (!m_bCreated)
        return;
    if (mouseGrabber() == this)
        releaseMouse();
    hide();
    qApp->removeEventFilter(this);
}

// The tip's text rectangle on the screen, or an empty one when the text fits.
CRect CTitleTip::PlaceTip(const CRect& titleOnScreen, int xOffset, int maxChars, const QString& text)
{
    CDC dc;
    dc.SelectObject(&m_font);
    TEXTMETRICW metrics{};
    dc.GetTextMetrics(&metrics);
    const CSize size = dc.GetTextExtent(text);
    const int textWidth = size.cx + metrics.tmOverhang;

    CRect tip(titleOnScreen.left + xOffset, titleOnScreen.top + 2, 0, 0);
    tip.right = tip.left + textWidth + xOffset;
    tip.bottom = tip.top + size.cy;
    if (titleOnScreen.right - xOffset >= tip.right)
        return CRect();
    if (maxChars > 0)
        tip.right = tip.left + std::min(tip.Width(), std::abs(metrics.tmAveCharWidth * maxChars));

    // Sideways: slide back within the bounds as far as there is room, then cut.
    const CRect screen = ScreenArea(titleOnScreen);
    const CRect bounds = ScreenBounds(screen);
    if (tip.right > bounds.right) {
        tip.OffsetRect(-std::min(tip.right - bounds.right, std::max(0, tip.left - bounds.left)), 0);
        tip.right = std::min(tip.right, bounds.right);
    }
    if (tip.left < bounds.left) {
        tip.OffsetRect(std::min(bounds.left - tip.left, std::max(0, bounds.right - tip.right)), 0);
        tip.left = std::max(tip.left, bounds.left);
    }

    CRect measured(tip);
    measured.top += 1;
    tip.bottom = tip.top + dc.DrawText(text, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);

    // Below the cell; above it when the screen ends first and there is more room there.
    const int hoverHeight = m_rectHover.Height();
    tip.OffsetRect(0, hoverHeight);
    if (tip.bottom > bounds.bottom) {
        const int tipHeight = tip.Height();
        if (bounds.bottom - tip.top < tip.top - hoverHeight - screen.top) {
            tip.bottom -= hoverHeight + tipHeight + 5;
            tip.top = std::max(tip.bottom - tipHeight, screen.top);
        } else {
            tip.bottom = bounds.bottom;
        }
    }
    return tip;
}

// The screen that holds the cell, less 8 pixels on every side. Screens need
// not start at 0, 0, and the primary one need not hold the grid.
CRect CTitleTip::ScreenArea(const CRect& titleOnScreen) const
{
    const QScreen* screen = QGuiApplication::screenAt(QPoint(titleOnScreen.left, titleOnScreen.top));
    if (!screen)
        screen = m_pParentWnd->screen();
    const QRect area =
        screen ? screen->geometry() : QRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return CRect(area.left() + kScreenBorder, area.top() + kScreenBorder, area.left() + area.width() - kScreenBorder,
                 area.top() + area.height() - kScreenBorder);
}

// The grid's client area on the screen, inside the screen's area (on the
// right and at the bottom the screen's area itself decides).
CRect CTitleTip::ScreenBounds(const CRect& screen) const
{
    const QWidget* client = ClientArea(m_pParentWnd);
    CRect bounds = ClientToScreen(m_pParentWnd, CRect(0, 0, client->width(), client->height()));
    bounds.left = std::max<int>(bounds.left, screen.left);
    bounds.top = std::max<int>(bounds.top, screen.top);
    bounds.right = screen.right;
    bounds.bottom = screen.bottom;
    return bounds;
}

bool CTitleTip::eventFilter(QObject* watched, QEvent* event)
{
    // A key pressed while the tip shows hides it and goes on to the focus window.
    if (event->type() == QEvent::KeyPress && isVisible())
        Hide();
    return QWidget::eventFilter(watched, event);
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CDC dc(&painter);
    const CRect client(0, 0, width(), height());
    dc.FillSolidRect(client, m_crBack != CLR_DEFAULT ? m_crBack : GetSysColor(COLOR_INFOBK));
    const CBrush frame(GetSysColor(COLOR_INFOTEXT));
    dc.FrameRect(client, &frame);
    dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText != CLR_DEFAULT ? m_crText : GetSysColor(COLOR_INFOTEXT));
    CRect text = m_rectTitle;
    dc.DrawText(m_strText, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
}

void CTitleTip::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (m_pParentWnd && m_rectHover.PtInRect(ScreenToClient(m_pParentWnd, CPoint(global.x(), global.y()))))
        return;
    Hide();
    PassOn(event, QEvent::MouseMove);
}

void CTitleTip::mousePressEvent(QMouseEvent* event)
{
    QEvent::Type type = QEvent::MouseButtonPress;
    if (event->button() == Qt::LeftButton) {
        const DWORD now = GetTickCount();
        if (m_dwLastLButtonDown && now - *m_dwLastLButtonDown <= m_dwDblClickMsecs)
            type = QEvent::MouseButtonDblClick;
        m_dwLastLButtonDown = now;
    }
    Hide();
    m_pPressTarget = WindowBeneath(event->globalPosition().toPoint());
    PassOn(event, type);
}

void CTitleTip::mouseReleaseEvent(QMouseEvent* event)
{
    PassOn(event, QEvent::MouseButtonRelease);
    m_pPressTarget = nullptr;
}

// Qt sees a second press on the tip as a double click; the tip judges that itself.
void CTitleTip::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

QWidget* CTitleTip::WindowBeneath(const QPoint& globalPos) const
{
    QWidget* beneath = QApplication::widgetAt(globalPos);
    if (beneath == this)
        return m_pParentWnd ? ClientArea(m_pParentWnd) : nullptr;
    return beneath;
}

void CTitleTip::PassOn(QMouseEvent* event, QEvent::Type type)
{
    const QPoint global = event->globalPosition().toPoint();
    QWidget* target = type == QEvent::MouseButtonRelease ? m_pPressTarget.data() : WindowBeneath(global);
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QMouseEvent(type, QPointF(target->mapFromGlobal(global)), QPointF(global),
                                                        event->button(), event->buttons(), event->modifiers()));
}

void CTitleTip::OnFocusChanged(QWidget*, QWidget* now)
{
    if (!now)
        Hide();
}
