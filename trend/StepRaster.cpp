#include "StepRaster.h"

#include <algorithm>

StepRaster::StepRaster(QImage& image, QRgb colour, int width)
    : m_bits(reinterpret_cast<QRgb*>(image.bits()))
    , m_stride(image.bytesPerLine() / int(sizeof(QRgb)))
    , m_imageWidth(image.width())
    , m_imageHeight(image.height())
    , m_colour(colour)
    , m_width(width)
{
}

StepRaster::~StepRaster()
{
    FillColumn();
}

void StepRaster::FillColumn()
{
    if (m_column)
        Fill(m_at.x(), m_at.x(), m_top, m_bottom);
    m_column = false;
}

void StepRaster::Fill(int left, int right, int top, int bottom)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right + m_width - 1, m_imageWidth - 1);
    bottom = std::min(bottom + m_width - 1, m_imageHeight - 1);
    if (left > right || top > bottom)
        return; // wholly outside the image
    QRgb* line = m_bits + qsizetype(top) * m_stride + left;
    const int count = right - left + 1;
    if (count == 2) {
        // A column of the usual two-pixel line: two stores a row beat
        // setting up a fill for each row.
        for (int y = top; y <= bottom; ++y, line += m_stride)
            line[0] = line[1] = m_colour;
        return;
    }
    for (int y = top; y <= bottom; ++y, line += m_stride)
        std::fill(line, line + count, m_colour);
}
