#include "CTrendChartView.h"

#include "StepRaster.h"
#include "TrendSeries.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPaintEngine>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Colours that stay apart from each other on white; series beyond them reuse them.
constexpr QRgb kPalette[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
                             0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f, 0x393b79, 0x637939};
constexpr double kLineWidth = 2;
constexpr qreal kHiddenAlpha = 0.35;
constexpr double kMinTimeSpanMs = 1000.0;

} // namespace

// The chart goes to the base's constructor: one made by the base and then
// replaced through setChart would be released by the view and owned by no one.
CTrendChartView::CTrendChartView(QWidget* parent)
    : QChartView(new QChart, parent)
    , m_chart(chart())
    , m_timeAxis(new QDateTimeAxis)
    , m_valueAxis(new QValueAxis)
{
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setShowToolTips(true);
    // The legend changes only when a series comes or is hidden, but its 32
    // entries of text would be drawn again on every tick.
    m_chart->legend()->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(LoadResString(IDS_TREND_TIME_AXIS));
    m_timeAxis->setTickCount(6);
    m_valueAxis->setLabelFormat(QStringLiteral("%.6g"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    // Animations would lag behind a chart that moves on every tick.
    m_chart->setAnimationOptions(QChart::NoAnimation);
}

CTrendChartView::~CTrendChartView() = default;

QColor CTrendChartView::LineColor(int index) const
{
    return QColor(kPalette[size_t(index) % std::size(kPalette)]);
}

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
    // The entry stays, dimmed, so that it can be clicked again.
    for (QLegendMarker* marker : m_chart->legend()->markers(line.legend)) {
        QColor label = marker->labelBrush().color();
        label.setAlphaF(visible ? 1.0 : kHiddenAlpha);
        marker->setLabelBrush(label);
        QColor swatch = LineColor(index);
        swatch.setAlphaF(visible ? 1.0 : kHiddenAlpha);
        marker->setBrush(swatch);
    }
    UpdateAxes();
    viewport()->update();
}

void CTrendChartView::AddLine(const TrendSeries& series)
{
    auto* legend = new QLineSeries;
    legend->setColor(LineColor(LineCount()));
    legend->setName(series.Label());
    m_chart->addSeries(legend);
    legend->attachAxis(m_timeAxis);
    legend->attachAxis(m_valueAxis);
    m_lines.push_back({legend, true});
    for (QLegendMarker* marker : m_chart->legend()->markers(legend))
        connect(marker, &QLegendMarker::clicked, this, &CTrendChartView::OnMarkerClicked);
}

void CTrendChartView::Redraw(const std::vector<std::unique_ptr<TrendSeries>>& series)
{
    m_series = &series;
    while (m_lines.size() < series.size())
        AddLine(*series[m_lines.size()]);
    m_shownUntil = std::numeric_limits<qint64>::min();
    for (const auto& s : series) {
        if (s->Count() > 0)
            m_shownUntil = std::max(m_shownUntil, s->At(s->Count() - 1).msecs);
    }
    UpdateAxes();
    viewport()->update();
}

std::vector<QList<QPointF>> CTrendChartView::Segments(int index) const
{
    if (!m_series || index < 0 || size_t(index) >= m_series->size())
        return {};
    return (*m_series)[size_t(index)]->StepSegments(m_shownUntil);
}

void CTrendChartView::UpdateAxes()
{
    if (!m_series)
        return;
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxY = std::numeric_limits<double>::lowest();
    for (size_t i = 0; i < m_series->size() && i < m_lines.size(); ++i) {
        const TrendSeries& series = *(*m_series)[i];
        if (series.Count() > 0)
            minX = std::min(minX, double(series.At(0).msecs));
        if (!m_lines[i].visible)
            continue;
        if (const auto range = series.ValueRange(m_shownUntil)) {
            minY = std::min(minY, range->first);
            maxY = std::max(maxY, range->second);
        }
    }
    const double maxX = double(m_shownUntil);
    if (minX > maxX)
        return; // nothing shown yet: the axes keep their range
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(minX)),
                         QDateTime::fromMSecsSinceEpoch(qint64(std::max(maxX, minX + kMinTimeSpanMs))));
    if (minY > maxY)
        return;
    // A flat line sits in the middle; others get a little room above and below.
    const double margin = maxY > minY ? (maxY - minY) * 0.05 : std::max(1.0, std::abs(maxY) * 0.05);
    const double low = minY - margin;
    const double high = maxY + margin;
    // A range that still holds the lines and is not much wider than they need
    // stays: each change lays the chart out anew, twice with nice numbers.
    const double shown = m_valueAxis->max() - m_valueAxis->min();
    if (m_valueAxis->min() <= low && high <= m_valueAxis->max() && shown <= 2 * (high - low))
        return;
    m_valueAxis->setRange(low, high);
    m_valueAxis->applyNiceNumbers();
}

void CTrendChartView::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF plot = m_chart->mapRectToScene(m_chart->plotArea());
    if (!m_series || plot.isEmpty())
        return;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    const QSize pixels = (plot.size() * ratio).toSize();
    if (pixels.isEmpty())
        return;
    if (QImage* target = DirectTarget(*painter, plot.topLeft(), pixels)) {
        // Filled straight into the window's pixels: no plot-sized image to
        // clear and blend on every tick.
        const QTransform& device = painter->deviceTransform();
        const QPoint at(qRound(plot.left() + device.dx()), qRound(plot.top() + device.dy()));
        QImage plotPixels(target->bits() + qsizetype(at.y()) * target->bytesPerLine() +
                              qsizetype(at.x()) * qsizetype(sizeof(QRgb)),
                          pixels.width(), pixels.height(), target->bytesPerLine(), target->format());
        DrawLines(plotPixels, 1);
        return;
    }
    if (m_plotImage.size() != pixels)
        m_plotImage = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_plotImage.fill(Qt::transparent);
    DrawLines(m_plotImage, ratio);
    m_plotImage.setDevicePixelRatio(ratio);
    painter->drawImage(plot.topLeft(), m_plotImage);
}

QImage* CTrendChartView::DirectTarget(QPainter& painter, QPointF plotTopLeft, QSize pixels)
{
    // Only an image of opaque 32-bit pixels, mapped by a whole-pixel shift
    // with no clip other than one rectangle around the plot, takes the lines
    // unblended and unclipped; anything else goes through the plot image.
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(engine->paintDevice());
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (image->devicePixelRatio() != 1.0 || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    const QTransform& device = painter.deviceTransform();
    if (device.type() > QTransform::TxTranslate)
        return nullptr;
    const QRect area(QPoint(qRound(plotTopLeft.x() + device.dx()), qRound(plotTopLeft.y() + device.dy())), pixels);
    if (!image->rect().contains(area))
        return nullptr;
    const QRegion system = engine->systemClip();
    if (!system.isEmpty() && !(system.rectCount() == 1 && system.boundingRect().contains(area)))
        return nullptr;
    if (painter.hasClipping()) {
        const QRegion clip = painter.clipRegion();
        if (clip.rectCount() != 1 || !device.mapRect(QRectF(clip.boundingRect())).contains(QRectF(area)))
            return nullptr;
    }
    // An image shared with a copy would be detached by bits(), leaving the
    // painter's pixels untouched.
    if (!image->isDetached())
        return nullptr;
    return image;
}

void CTrendChartView::DrawLines(QImage& pixels, qreal ratio) const
{
    const double x0 = double(m_timeAxis->min().toMSecsSinceEpoch());
    const double spanX = double(m_timeAxis->max().toMSecsSinceEpoch()) - x0;
    const double y0 = m_valueAxis->min();
    const double spanY = m_valueAxis->max() - y0;
    if (spanX <= 0 || spanY <= 0)
        return;
    const double scaleX = pixels.width() / spanX;
    const double scaleY = pixels.height() / spanY;
    // Values near the limits of a double leave no usable scale.
    if (!std::isfinite(scaleX) || !std::isfinite(scaleY) || scaleY <= 0)
        return;
    const int width = std::max(1, qRound(kLineWidth * ratio));
    for (size_t i = 0; i < m_series->size() && i < m_lines.size(); ++i) {
        if (!m_lines[i].visible)
            continue;
        StepRaster raster(pixels, LineColor(int(i)).rgba(), width);
        // Taken by value: the raster's pixel stores would otherwise make the
        // compiler load and convert them again for every point.
        const double right = pixels.width() + 1.0;
        const double bottom = pixels.height() + 1.0;
        const double height = pixels.height();
        (*m_series)[i]->VisitSteps(
            m_shownUntil, [&raster, x0, y0, scaleX, scaleY, right, bottom, height](QPointF p, bool startsSegment) {
                // Clamped just outside the image: a point can never overflow an int.
                const QPointF pixel(std::clamp((p.x() - x0) * scaleX, -1.0, right),
                                    std::clamp(height - (p.y() - y0) * scaleY, -1.0, bottom));
                if (startsSegment)
                    raster.MoveTo(pixel);
                else
                    raster.LineTo(pixel);
            });
    }
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
        if (m_lines[size_t(i)].legend == marker->series()) {
            SetLineVisible(i, !m_lines[size_t(i)].visible);
            return;
        }
    }
}
