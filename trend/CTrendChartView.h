#pragma once

#include <QChartView>
#include <QImage>
#include <QList>
#include <QPointF>

#include <memory>
#include <vector>

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
class TrendSeries;

// The trend's chart: one step line per series on a wall-clock time axis and
// one value axis scaled to the visible lines; clicking a legend entry hides or
// shows its line. Qt Charts lays out the axes, grid and legend; the lines are
// drawn over the plot area straight into an image, because a line series of
// 2,400 points is re-mapped and re-stroked on every change, far beyond the
// time a tick may take.
class CTrendChartView : public QChartView
{
    Q_OBJECT

public:
    explicit CTrendChartView(QWidget* parent = nullptr);
    ~CTrendChartView() override;

    // Shows the series (which must outlive the view) up to their newest
    // sample; series added since the last call get a line and a legend entry.
    // Until the next call the view keeps showing what it showed.
    void Redraw(const std::vector<std::unique_ptr<TrendSeries>>& series);

    int LineCount() const { return int(m_lines.size()); }
    bool IsLineVisible(int index) const;
    void SetLineVisible(int index, bool visible);
    // The step segments of a line as shown, in milliseconds and values.
    std::vector<QList<QPointF>> Segments(int index) const;
    QColor LineColor(int index) const;
    QDateTimeAxis* TimeAxis() const { return m_timeAxis; }
    QValueAxis* ValueAxis() const { return m_valueAxis; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    struct Line
    {
        QLineSeries* legend; // no points: the legend entry and the colour
        bool visible = true;
    };

    void AddLine(const TrendSeries& series);
    void UpdateAxes();
    void OnMarkerClicked();
    // The image the painter fills when the lines can go straight into it.
    static QImage* DirectTarget(QPainter& painter, QPointF plotTopLeft, QSize pixels);
    void DrawLines(QImage& pixels, qreal ratio) const;

    QChart* m_chart;
    QDateTimeAxis* m_timeAxis;
    QValueAxis* m_valueAxis;
    std::vector<Line> m_lines;
    const std::vector<std::unique_ptr<TrendSeries>>* m_series = nullptr;
    qint64 m_shownUntil = 0;
    QImage m_plotImage; // reused from paint to paint
};
