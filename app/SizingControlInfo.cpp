#include "SizingControlInfo.h"

#include <algorithm>

namespace {

CRect RectOf(const QRect& r)
{
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

// An edge's share of the growth; widened, as a large window times 255 percent
// would not fit an int.
int Share(int growth, BYTE percent)
{
    return int(qint64(growth) * percent / 100);
}

} // namespace

QRect NormalGeometryOf(const QWidget* window)
{
    return (window->isMaximized() || window->isFullScreen()) ? window->normalGeometry() : window->geometry();
}

SizingControlInfo::Header::Header(QWidget* owner) : m_pOwner(owner)
{
}

SizingControlInfo::Header::~Header()
{
    RemoveAll();
}

BOOL SizingControlInfo::Header::InitSizing(UINT percent)
{
    m_nInitialClientWidth = m_pOwner->width();
    m_nInitialClientHeight = m_pOwner->height();
    const QRect normal = NormalGeometryOf(m_pOwner);
    m_nInitialWindowWidth = normal.width();
    m_nInitialWindowHeight = normal.height();
    if (m_bShowSizeGrip)
        CreateSizeGrip();
    if (percent != 0)
        Enlarge(percent);
    return TRUE;
}

SizingControlInfo* SizingControlInfo::Header::Add(QWidget* wnd, BYTE left, BYTE right, BYTE top, BYTE bottom)
{
    if (!m_pOwner || !wnd || !IsStarted() || (left == 0 && right == 0 && top == 0 && bottom == 0))
        return nullptr;
    SizingControlInfo& entry = m_entries.emplace_front(this, wnd, left, right, top, bottom);
    const CSize growth = GrowthOf(m_pOwner->width(), m_pOwner->height());
    entry.Place(growth.cx, growth.cy);
    return &entry;
}

void SizingControlInfo::Header::Place(int clientWidth, int clientHeight) const
{
    const CSize growth = GrowthOf(clientWidth, clientHeight);
    for (const SizingControlInfo& entry : m_entries)
        entry.Place(growth.cx, growth.cy);
}

void SizingControlInfo::Header::GetTrackingLimits(MINMAXINFO* info) const
{
    if (!IsStarted())
        return;
    info->ptMinTrackSize = {m_nInitialWindowWidth, m_nInitialWindowHeight};
    if (!(m_dwDirections & 1))
        info->ptMaxTrackSize.x = m_nInitialWindowWidth;
    if (!(m_dwDirections & 2))
        info->ptMaxTrackSize.y = m_nInitialWindowHeight;
}

void SizingControlInfo::Header::RemoveAll()
{
    m_entries.clear();
    m_sizeGrip.reset();
}

// The grip sits in the lower right corner and moves with both edges.
void SizingControlInfo::Header::CreateSizeGrip()
{
    m_sizeGrip = std::make_unique<QSizeGrip>(m_pOwner);
    const QSize size = m_sizeGrip->sizeHint();
    m_sizeGrip->setGeometry(m_nInitialClientWidth - size.width(), m_nInitialClientHeight - size.height(), size.width(),
                            size.height());
    Add(m_sizeGrip.get(), 100, 100, 100, 100);
    m_sizeGrip->show();
}

// Each allowed direction grows by size * percent / 50 in all, half on each
// side; the left and top edges stop at the screen origin.
void SizingControlInfo::Header::Enlarge(UINT percent)
{
    CRect rect = RectOf(NormalGeometryOf(m_pOwner));
    if (m_dwDirections & 1) {
        const int d = int(quint64(rect.Width()) * percent / 50u);
        rect.left = std::max(0, rect.left - d);
        rect.right += d;
    }
    if (m_dwDirections & 2) {
        const int d = int(quint64(rect.Height()) * percent / 50u);
        rect.top = std::max(0, rect.top - d);
        rect.bottom += d;
    }
    m_pOwner->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

CSize SizingControlInfo::Header::GrowthOf(int clientWidth, int clientHeight) const
{
    return CSize(std::max(0, clientWidth - m_nInitialClientWidth), std::max(0, clientHeight - m_nInitialClientHeight));
}

SizingControlInfo::SizingControlInfo(Header* header, QWidget* wnd, BYTE left, BYTE right, BYTE top, BYTE bottom)
    : m_pHeader(header)
    , m_equalCtrl{wnd}
    , m_nLeft(left)
    , m_nRight(right)
    , m_nTop(top)
    , m_nBottom(bottom)
    , m_rcInitial(RectOf(wnd->geometry()))
{
}

void SizingControlInfo::Place(int dx, int dy) const
{
    QWidget* wnd = m_equalCtrl.m_pWnd;
    if (!wnd)
        return;
    const int left = m_rcInitial.left + Share(dx, m_nLeft);
    const int right = m_rcInitial.right + Share(dx, m_nRight);
    const int top = m_rcInitial.top + Share(dy, m_nTop);
    const int bottom = m_rcInitial.bottom + Share(dy, m_nBottom);
    wnd->setGeometry(left, top, right - left, bottom - top);
}
