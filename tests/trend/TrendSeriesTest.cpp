#include "trend/TrendSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

// One sample a tick of 500 ms, from time 0.
void AddTicks(TrendSeries& series, std::initializer_list<std::pair<const char*, TrendQuality>> samples)
{
    qint64 time = 0;
    for (const auto& [text, quality] : samples) {
        series.Add(time, QString::fromUtf8(text), quality);
        time += 500;
    }
}

TEST(TrendSeries, NumbersAndBoolsArePlottedAndEverythingElseIsAGap)
{
    TrendSeries series(QStringLiteral("Plant.X"));
    const struct
    {
        const char* text;
        TrendQuality quality;
        double expected; // NaN: a gap
    } ticks[] = {
        {"12.5", TrendQuality::Good, 12.5},
        {" -3 ", TrendQuality::Good, -3.0},
        {"1e3", TrendQuality::Good, 1000.0},
        {"1", TrendQuality::Good, 1.0}, // a bool as the runtime shows it
        {"0", TrendQuality::Good, 0.0},
        {"TRUE", TrendQuality::Good, 1.0}, // a string tag holding a bool word
        {"false", TrendQuality::Good, 0.0},
        {"12,5", TrendQuality::Good, NAN}, // not a number in any locale the runtime writes
        {"Running", TrendQuality::Good, NAN},
        {"", TrendQuality::Good, NAN},
        {"inf", TrendQuality::Good, NAN},
        {"nan", TrendQuality::Good, NAN},
        {"42", TrendQuality::Bad, NAN},
        {"42", TrendQuality::Uncertain, NAN},
        {"42", TrendQuality::NotAvailable, NAN},
        {"42", TrendQuality::None, NAN},
    };
    qint64 t = 0;
    for (const auto& tick : ticks)
        series.Add(t += 500, QString::fromUtf8(tick.text), tick.quality);
    ASSERT_EQ(series.Count(), int(std::size(ticks)));
    for (int i = 0; i < series.Count(); ++i) {
        const TrendSample& sample = series.At(i);
        EXPECT_EQ(sample.msecs, 500 * (i + 1));
        EXPECT_EQ(sample.quality, ticks[i].quality);
        if (std::isnan(ticks[i].expected))
            EXPECT_TRUE(std::isnan(sample.value)) << ticks[i].text << " gives " << sample.value;
        else
            EXPECT_EQ(sample.value, ticks[i].expected) << ticks[i].text;
    }
}

TEST(TrendSeries, KeepsTheNewest1200SamplesInOrder)
{
    TrendSeries series(QStringLiteral("Plant.X"));
    const int total = TrendSeries::kCapacity * 2 + 37;
    for (int i = 0; i < total; ++i)
        series.Add(qint64(i) * 500, QString::number(i), TrendQuality::Good);
    ASSERT_EQ(series.Count(), 1200);
    for (int i = 0; i < series.Count(); ++i) {
        const int tick = total - 1200 + i;
        ASSERT_EQ(series.At(i).msecs, qint64(tick) * 500) << i;
        ASSERT_EQ(series.At(i).value, double(tick)) << i;
    }
    // The step line of a full series stays within two points a sample.
    const auto segments = series.StepSegments();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_LE(segments[0].size(), 2 * 1200);
    EXPECT_EQ(segments[0].constFirst(), QPointF(double(total - 1200) * 500, double(total - 1200)));
}

TEST(TrendSeries, StepLinesHoldEachValueAndBreakAtGaps)
{
    TrendSeries series(QStringLiteral("Plant.X"));
    const TrendQuality good = TrendQuality::Good;
    AddTicks(series, {{"1", good},
                      {"1", good},
                      {"1", good},
                      {"3", good},
                      {"3", TrendQuality::Bad},
                      {"text", good},
                      {"2", good},
                      {"0", good}});

    const auto segments = series.StepSegments();
    ASSERT_EQ(segments.size(), 2u);
    // A flat run is one horizontal piece; the change is vertical at its tick;
    // the last value before the gap holds until the gap's tick.
    EXPECT_EQ(segments[0], (QList<QPointF>{{0, 1}, {1500, 1}, {1500, 3}, {2000, 3}}));
    EXPECT_EQ(segments[1], (QList<QPointF>{{3000, 2}, {3500, 2}, {3500, 0}}));
}

TEST(TrendSeries, ALoneSampleBetweenGapsStillShows)
{
    TrendSeries series(QStringLiteral("Plant.X"));
    const TrendQuality good = TrendQuality::Good;
    AddTicks(series, {{"x", good}, {"4", good}, {"x", good}, {"5", good}});
    const auto segments = series.StepSegments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0], (QList<QPointF>{{500, 4}, {1000, 4}}));
    EXPECT_EQ(segments[1], (QList<QPointF>{{1500, 5}}));
}

} // namespace
