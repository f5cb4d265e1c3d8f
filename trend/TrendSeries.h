#pragma once

#include "TrendSample.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <optional>
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
    // 0 is the oldest kept sample.
    const TrendSample& At(int index) const;

    // The step line: each value holds until the next sample's time, a change is
    // a vertical jump, and a gap ends a segment. Segments of one point are kept
    // so that a lone sample still shows at the newest edge.
    std::vector<QList<QPointF>> StepSegments() const;

    // The number a value text stands for; none for text that is not a number.
    static std::optional<double> ParseValue(const QString& text);

private:
    QString m_label;
    std::vector<TrendSample> m_ring;
    int m_first = 0;
    int m_count = 0;
};
