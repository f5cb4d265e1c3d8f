#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <algorithm>

// Fills step lines into an image of ARGB32 pixels: they have only horizontal
// and vertical pieces, filled straight in as spans 'width' pixels thick,
// clipped to the image. The vertical pieces that land in one pixel column are
// joined into one span before it is filled: a full series has more samples
// than the plot has columns, and the joined span covers the same pixels.
// The last column is filled when the raster goes.
class StepRaster
{
public:
    StepRaster(QImage& image, QRgb colour, int width);
    ~StepRaster();
    StepRaster(const StepRaster&) = delete;
    StepRaster& operator=(const StepRaster&) = delete;

    // Starts a segment at p (image pixels).
    void MoveTo(QPointF p)
    {
        FillColumn();
        m_at = p.toPoint();
        m_top = m_bottom = m_at.y();
        m_column = true;
    }

    // The step to 'to': horizontal first, then vertical. Inline: the chart
    // hands over every point of every series on each tick.
    void LineTo(QPointF to)
    {
        const QPoint p = to.toPoint();
        if (p.x() != m_at.x()) {
            FillColumn();
            // The end columns of the horizontal piece lie in the spans of the
            // two columns, which both hold its row; only the columns between
            // are left to fill.
            const int left = std::min(m_at.x(), p.x()) + 1;
            const int right = std::max(m_at.x(), p.x()) - 1;
            if (left <= right)
                Fill(left, right, m_at.y(), m_at.y());
            m_top = m_bottom = m_at.y();
            m_column = true;
        }
        m_top = std::min(m_top, p.y());
        m_bottom = std::max(m_bottom, p.y());
        m_at = p;
    }

private:
    void FillColumn();
    void Fill(int left, int right, int top, int bottom);

    QRgb* m_bits;
    int m_stride;
    int m_imageWidth;
    int m_imageHeight;
    QRgb m_colour;
    int m_width;
    QPoint m_at;
    // The vertical span of the column at m_at not yet filled.
    int m_top = 0;
    int m_bottom = 0;
    bool m_column = false;
};
