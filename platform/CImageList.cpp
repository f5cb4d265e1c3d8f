#include "CImageList.h"

#include "CDC.h"

#include <QPainter>

BOOL CImageList::Create(int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_size = CSize(cx, cy);
    m_images.clear();
    return TRUE;
}

int CImageList::Add(const QPixmap& image)
{
    if (m_size.cx <= 0 || image.isNull())
        return -1;
    m_images.push_back(image.scaled(m_size.cx, m_size.cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return GetImageCount() - 1;
}

BOOL CImageList::GetImageInfo(int image, IMAGEINFO* info) const
{
    if (!info || image < 0 || image >= GetImageCount())
        return FALSE;
    info->rcImage = RECT{image * m_size.cx, 0, image * m_size.cx + m_size.cx, m_size.cy};
    return TRUE;
}

BOOL CImageList::Draw(CDC* dc, int image, POINT pt, UINT) const
{
    if (!dc || image < 0 || image >= GetImageCount())
        return FALSE;
    if (QPainter* painter = dc->GetPainter())
        painter->drawPixmap(pt.x, pt.y, m_images[static_cast<size_t>(image)]);
    return TRUE;
}
