#pragma once

#include <QChartView>
#include <QList>

#include <memory>
#include <vector>

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
class TrendSeries;

// The trend's chart: one step line per series on a wall-clock time axis and
// one value axis scaled to the visible lines. A series is drawn as several
// line series, one per stretch between gaps, of which only the first shows in
// the legend; clicking its legend entry hides or shows them all.
class CTrendChartView : public QChartView
{
    Q_OBJECT

public:
    explicit CTrendChartView(QWidget* parent = nullptr);
    ~CTrendChartView() override;

    // One line per series, in order; series added since the last call get a line.
    void Redraw(const std::vector<std::unique_ptr<TrendSeries>>& series);

    int LineCount() const { return int(m_lines.size()); }
    bool IsLineVisible(int index) const;
    void SetLineVisible(int index, bool visible);
    QDateTimeAxis* TimeAxis() const { return m_timeAxis; }
    QValueAxis* ValueAxis() const { return m_valueAxis; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Line
    {
        std::vector<QLineSeries*> segments; // the first one carries the legend entry
        bool visible = true;
    };

    void AddLine(const TrendSeries& series);
    QLineSeries* AddSegment(Line& line, const QColor& color);
    void UpdateLine(Line& line, const TrendSeries& series);
    void UpdateAxes();
    void OnMarkerClicked();

    QChart* m_chart;
    QDateTimeAxis* m_timeAxis;
    QValueAxis* m_valueAxis;
    std::vector<Line> m_lines;
};
