#pragma once

#include "TrendSample.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

// The samples of one watched row, the newest kCapacity of them: ten minutes of
// 500 ms ticks. Older samples are dropped as new ones come.
class TrendSeries
{
public:
    static constexpr int kCapacity = 1200;

    explicit TrendSeries(QString label);

    const QString& Label() const { return m_label; }

    // A sample of the row's shown value: plotted when the quality is Good and
    // the text is a number (or a bool as 0/1), else a gap.
    void Add(qint64 msecs, const QString& valueText, TrendQuality quality);
    void AddSample(const TrendSample& sample);

    int Count() const { return m_count; }
    // 0 is the oldest kept sample. Inline: drawing visits every sample on each tick.
    const TrendSample& At(int index) const
    {
        const int at = m_first + index;
        return m_ring[size_t(at < kCapacity ? at : at - kCapacity)];
    }

    // The step line of the samples up to 'until': each value holds until the
    // next sample's time, a change is a vertical jump, and a gap ends a
    // segment. A segment of one point is kept so that a lone sample still
    // shows at the newest edge.
    std::vector<QList<QPointF>> StepSegments(qint64 until = std::numeric_limits<qint64>::max()) const;
    // The same points handed one by one to visit(point, startsSegment),
    // without building the lists: the chart draws from here on every tick.
    template <typename Visit> void VisitSteps(qint64 until, Visit&& visit) const;
    // The lowest and highest plotted value up to 'until'; none without one.
    std::optional<std::pair<double, double>> ValueRange(qint64 until) const;

    // The number a value text stands for; none for text that is not a number.
    static std::optional<double> ParseValue(const QString& text);

private:
    QString m_label;
    std::vector<TrendSample> m_ring;
    int m_first = 0;
    int m_count = 0;
};

template <typename Visit> void TrendSeries::VisitSteps(qint64 until, Visit&& visit) const
{
    bool open = false;
    double held = 0;
    for (int i = 0; i < m_count; ++i) {
        const TrendSample& sample = At(i);
        if (sample.msecs > until)
            break;
        const double x = double(sample.msecs);
        if (open)
            visit(QPointF(x, held), false); // the previous value holds until now
        if (std::isnan(sample.value)) {
            open = false;
            continue;
        }
        if (!open || sample.value != held)
            visit(QPointF(x, sample.value), !open);
        open = true;
        held = sample.value;
    }
}
