#pragma once

#include "platform/CDC.h"
#include "platform/CRect.h"

#include <QPainter>
#include <QPixmap>

// An off-screen context over a target's clip box: drawing goes to a bitmap
// that is copied to the target in one step when the context ends. A printing
// target is drawn on directly.
class CMyMemDC : public CDC
{
public:
    explicit CMyMemDC(CDC* target);
    ~CMyMemDC() override;

private:
    CDC* m_pDC;
    CRect m_rect;
    bool m_bMemDC;
    QPixmap m_bitmap;
    QPainter m_painter;
};
