#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

class QPaintDevice;

// The metrics of one font on one device, with text advances remembered across
// contexts: a grid measures the same cell texts on every repaint, and shaping
// them again costs more than all the rest of its drawing.
class TextWidths
{
public:
    TextWidths(const QFont& font, const QPaintDevice* device);

    const QFontMetrics& Metrics() const { return m_metrics; }
    // The same figure as QFontMetrics::horizontalAdvance.
    int Advance(const QString& text) const;

private:
    QFont m_font;
    int m_dpi;
    QFontMetrics m_metrics;
};
