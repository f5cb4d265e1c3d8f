#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

class QPaintDevice;
class QPainter;

// The metrics of one font on one device, with text advances remembered across
// contexts: a grid measures the same cell texts on every repaint, and shaping
// them again costs more than all the rest of its drawing.
class TextWidths
{
public:
    // A text's advance and, once drawn, its glyphs.
    struct Shape;

    TextWidths(const QFont& font, const QPaintDevice* device);

    const QFontMetrics& Metrics() const { return m_metrics; }
    // The same figure as QFontMetrics::horizontalAdvance.
    int Advance(const QString& text) const;
    // As QPainter::drawText at a baseline point, from glyphs shaped once.
    void Draw(QPainter* painter, const QPoint& baseline, const QString& text) const;

private:
    Shape& Shaped(const QString& text) const;

    QFont m_font;
    const QPaintDevice* m_device;
    int m_dpi;
    QFontMetrics m_metrics;
};
