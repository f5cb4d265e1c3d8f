#include "TrendSeries.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

} // namespace

TrendSeries::TrendSeries(QString label) : m_label(std::move(label))
{
    m_ring.reserve(kCapacity);
}

void TrendSeries::Add(qint64 msecs, const QString& valueText, TrendQuality quality)
{
    const std::optional<double> value = quality == TrendQuality::Good ? ParseValue(valueText) : std::nullopt;
    AddSample({msecs, value.value_or(kGap), quality});
}

void TrendSeries::AddSample(const TrendSample& sample)
{
    if (m_count < kCapacity) {
        m_ring.push_back(sample);
        ++m_count;
        return;
    }
    m_ring[size_t(m_first)] = sample;
    m_first = (m_first + 1) % kCapacity;
}

std::vector<QList<QPointF>> TrendSeries::StepSegments(qint64 until) const
{
    std::vector<QList<QPointF>> segments;
    VisitSteps(until, [&segments](QPointF p, bool startsSegment) {
        if (startsSegment) {
            segments.emplace_back().append(p);
            return;
        }
        QList<QPointF>& open = segments.back();
        // A flat run is one horizontal piece: only its end moves.
        const qsizetype n = open.size();
        if (n >= 2 && open[n - 1].y() == p.y() && open[n - 2].y() == p.y())
            open.last().setX(p.x());
        else
            open.append(p);
    });
    return segments;
}

std::optional<std::pair<double, double>> TrendSeries::ValueRange(qint64 until) const
{
    std::optional<std::pair<double, double>> range;
    for (int i = 0; i < m_count && At(i).msecs <= until; ++i) {
        const double value = At(i).value;
        if (std::isnan(value))
            continue;
        if (!range)
            range = std::pair(value, value);
        range->first = std::min(range->first, value);
        range->second = std::max(range->second, value);
    }
    return range;
}

std::optional<double> TrendSeries::ParseValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    // The runtime shows bools as 0 and 1; a string tag may say true or false.
    if (trimmed.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return 1.0;
    if (trimmed.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    // Infinity and NaN cannot be drawn and would ruin the axis range.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
