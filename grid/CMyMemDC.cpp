#include "CMyMemDC.h"

#include <QPaintDevice>

namespace {

QPainter* BufferPainter(CDC* target, QPainter& own)
{
    return target->IsPrinting() ? target->GetPainter() : &own;
}

} // namespace

CMyMemDC::CMyMemDC(CDC* target)
    : CDC(BufferPainter(target, m_painter), target->GetDevice()),
      m_pDC(target), m_bMemDC(!target->IsPrinting())
{
    if (!m_bMemDC)
        return;
    target->GetClipBox(&m_rect);
    const QPainter* targetPainter = target->GetPainter();
    if (m_rect.IsRectEmpty() || !targetPainter || !targetPainter->device()) {
        m_bMemDC = false;
        return;
    }
    const qreal ratio = targetPainter->device()->devicePixelRatioF();
    m_bitmap = QPixmap(QSize(m_rect.Width(), m_rect.Height()) * ratio);
    m_bitmap.setDevicePixelRatio(ratio);
    m_painter.begin(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
    FillSolidRect(m_rect, target->GetBkColor());
}

CMyMemDC::~CMyMemDC()
{
    if (!m_bMemDC)
        return;
    m_painter.end();
    m_pDC->GetPainter()->drawPixmap(m_rect.left, m_rect.top, m_bitmap);
}
