#include "CTrendChartView.h"

#include "TrendSeries.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Colours that stay apart from each other on white; series beyond them reuse them.
constexpr QRgb kPalette[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
                             0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f, 0x393b79, 0x637939};
constexpr int kLineWidth = 2;
constexpr qreal kHiddenAlpha = 0.35;

QColor LineColor(size_t index)
{
    return QColor(kPalette[index % std::size(kPalette)]);
}

} // namespace

CTrendChartView::CTrendChartView(QWidget* parent)
    : QChartView(parent)
    , m_chart(new QChart)
    , m_timeAxis(new QDateTimeAxis)
    , m_valueAxis(new QValueAxis)
{
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setShowToolTips(true);
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(LoadResString(IDS_TREND_TIME_AXIS));
    m_timeAxis->setTickCount(6);
    m_valueAxis->setLabelFormat(QStringLiteral("%.6g"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    // Animations would lag behind a chart that moves on every tick.
    m_chart->setAnimationOptions(QChart::NoAnimation);
    setChart(m_chart);
    setRenderHint(QPainter::Antialiasing, false);
}

CTrendChartView::~CTrendChartView() = default;

bool CTrendChartView::IsLineVisible(int index) const
{
    return index >= 0 && index < LineCount() && m_lines[size_t(index)].visible;
}

void CTrendChartView::SetLineVisible(int index, bool visible)
{
    if (index < 0 || index >= LineCount())
        return;
    Line& line = m_lines[size_t(index)];
    line.visible = visible;
    for (QLineSeries* segment : line.segments) {
        segment->setVisible(visible);
        // The legend shows a series' visibility change on every entry; only
        // the first segment has one.
        if (segment != line.segments.front()) {
            for (QLegendMarker* marker : m_chart->legend()->markers(segment))
                marker->setVisible(false);
        }
    }
    // Hiding a series hides its legend entry too; the entry stays, dimmed, so
    // that it can be clicked again.
    for (QLegendMarker* marker : m_chart->legend()->markers(line.segments.front())) {
        marker->setVisible(true);
        QColor label = marker->labelBrush().color();
        label.setAlphaF(visible ? 1.0 : kHiddenAlpha);
        marker->setLabelBrush(label);
        QColor swatch = line.segments.front()->color();
        swatch.setAlphaF(visible ? 1.0 : kHiddenAlpha);
        marker->setBrush(swatch);
    }
    UpdateAxes();
}

QLineSeries* CTrendChartView::AddSegment(Line& line, const QColor& color)
{
    auto* segment = new QLineSeries;
    QPen pen(color);
    pen.setWidth(kLineWidth);
    segment->setPen(pen);
    m_chart->addSeries(segment);
    segment->attachAxis(m_timeAxis);
    segment->attachAxis(m_valueAxis);
    segment->setVisible(line.visible);
    if (!line.segments.empty()) {
        for (QLegendMarker* marker : m_chart->legend()->markers(segment))
            marker->setVisible(false);
    }
    line.segments.push_back(segment);
    return segment;
}

void CTrendChartView::AddLine(const TrendSeries& series)
{
    Line& line = m_lines.emplace_back();
    QLineSeries* first = AddSegment(line, LineColor(m_lines.size() - 1));
    first->setName(series.Label());
    for (QLegendMarker* marker : m_chart->legend()->markers(first))
        connect(marker, &QLegendMarker::clicked, this, &CTrendChartView::OnMarkerClicked);
}

void CTrendChartView::UpdateLine(Line& line, const TrendSeries& series)
{
    std::vector<QList<QPointF>> segments = series.StepSegments();
    const QColor color = line.segments.front()->pen().color();
    while (line.segments.size() < segments.size())
        AddSegment(line, color);
    for (size_t i = 0; i < line.segments.size(); ++i) {
        QLineSeries* segment = line.segments[i];
        if (i < segments.size())
            segment->replace(segments[i]);
        else if (segment->count() > 0)
            segment->clear();
    }
}

void CTrendChartView::Redraw(const std::vector<std::unique_ptr<TrendSeries>>& series)
{
    while (m_lines.size() < series.size())
        AddLine(*series[m_lines.size()]);
    for (size_t i = 0; i < series.size(); ++i)
        UpdateLine(m_lines[i], *series[i]);
    UpdateAxes();
}

void CTrendChartView::UpdateAxes()
{
    double minX = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest();
    double minY = minX;
    double maxY = maxX;
    for (const Line& line : m_lines) {
        for (const QLineSeries* segment : line.segments) {
            const QList<QPointF> points = segment->points();
            for (const QPointF& p : points) {
                minX = std::min(minX, p.x());
                maxX = std::max(maxX, p.x());
                if (line.visible) {
                    minY = std::min(minY, p.y());
                    maxY = std::max(maxY, p.y());
                }
            }
        }
    }
    if (minX > maxX)
        return; // nothing drawn yet: the axes keep their range
    if (maxX - minX < 1000.0)
        maxX = minX + 1000.0;
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(minX)), QDateTime::fromMSecsSinceEpoch(qint64(maxX)));
    if (minY > maxY)
        return;
    // A flat line sits in the middle; others get a little room above and below.
    const double margin = maxY > minY ? (maxY - minY) * 0.05 : std::max(1.0, std::abs(maxY) * 0.05);
    m_valueAxis->setRange(minY - margin, maxY + margin);
    m_valueAxis->applyNiceNumbers();
}

void CTrendChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    // Qt Charts keeps axis labels cut to the room they had at their first
    // layout, before the view had its size; laying them out again shows them.
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_timeAxis), static_cast<QAbstractAxis*>(m_valueAxis)}) {
        axis->setLabelsVisible(false);
        axis->setLabelsVisible(true);
    }
}

void CTrendChartView::OnMarkerClicked()
{
    auto* marker = qobject_cast<QLegendMarker*>(sender());
    if (!marker)
        return;
    for (int i = 0; i < LineCount(); ++i) {
        if (m_lines[size_t(i)].segments.front() == marker->series()) {
            SetLineVisible(i, !m_lines[size_t(i)].visible);
            return;
        }
    }
}
