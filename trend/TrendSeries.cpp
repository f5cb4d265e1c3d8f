#include "TrendSeries.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

} // namespace

TrendSeries::TrendSeries(QString label)
    : m_label(std::move(label))
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

const TrendSample& TrendSeries::At(int index) const
{
    return m_ring[size_t((m_first + index) % kCapacity)];
}

std::vector<QList<QPointF>> TrendSeries::StepSegments() const
{
    std::vector<QList<QPointF>> segments;
    QList<QPointF>* open = nullptr;
    for (int i = 0; i < m_count; ++i) {
        const TrendSample& sample = At(i);
        const double x = double(sample.msecs);
        if (open && !open->isEmpty()) {
            // The previous value holds until now; a flat run only moves its end.
            const double held = open->constLast().y();
            if (open->size() >= 2 && open->at(open->size() - 2).y() == held)
                open->last().setX(x);
            else
                open->append(QPointF(x, held));
        }
        if (std::isnan(sample.value)) {
            open = nullptr;
            continue;
        }
        if (!open) {
            segments.emplace_back();
            open = &segments.back();
            open->reserve(2 * (m_count - i));
        }
        if (open->isEmpty() || open->constLast().y() != sample.value)
            open->append(QPointF(x, sample.value));
    }
    return segments;
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
