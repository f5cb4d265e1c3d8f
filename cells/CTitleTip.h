#pragma once

#include "platform/CFont.h"
#include "platform/CRect.h"
#include "platform/LogFont.h"
#include "platform/SysColors.h"
#include "platform/WinTypes.h"

#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

// The pop-up that shows the whole text of a cell whose text does not fit,
// laid just below the cell. It never gets in the way: moving out of the cell
// hides it, and clicks and keys on it go on to the window beneath.
class CTitleTip : public QWidget
{
    Q_OBJECT

public:
    CTitleTip();
    ~CTitleTip() override;

    // The grid window the tip belongs to; rectangles are in its client coordinates.
    BOOL Create(QWidget* parent);
    void DestroyWindow();
    BOOL IsCreated() const { return m_bCreated; }

    // Shows text over rectTitle unless it fits there. hoverRect (the cell) is
    // where the mouse may move while the tip stays; the title rectangle when null.
    void Show(CRect rectTitle, const QString& title, int xOffset = 0, int maxChars = -1,
              const CRect* hoverRect = nullptr, const LOGFONTW* font = nullptr, COLORREF textColor = CLR_DEFAULT,
              COLORREF backColor = CLR_DEFAULT);
    void Hide();

    CRect GetHoverRect() const { return m_rectHover; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CRect PlaceTip(const CRect& titleOnScreen, int xOffset, int maxChars, const QString& text);
    CRect ScreenArea(const CRect& titleOnScreen) const;
    CRect ScreenBounds(const CRect& screen) const;
    QWidget* WindowBeneath(const QPoint& globalPos) const;
    void PassOn(QMouseEvent* event, QEvent::Type type);
    void OnFocusChanged(QWidget* old, QWidget* now);

    QPointer<QWidget> m_pParentWnd;
    CRect m_rectHover;
    CRect m_rectTitle;
    // The text is drawn in the paint event from these, set by Show.
    QString m_strText;
    CFont m_font;
    COLORREF m_crText = CLR_DEFAULT;
    COLORREF m_crBack = CLR_DEFAULT;
    std::optional<DWORD> m_dwLastLButtonDown;
    UINT m_dwDblClickMsecs;
    BOOL m_bCreated = FALSE;
    // Where the press that hid the tip went, so its release follows it.
    QPointer<QWidget> m_pPressTarget;
};
