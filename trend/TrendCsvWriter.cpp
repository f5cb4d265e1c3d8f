#include "TrendCsvWriter.h"

#include "TrendSeries.h"
#include "platform/FileStore.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

QString QualityText(TrendQuality quality)
{
    switch (quality) {
    case TrendQuality::Good: return LoadResString(IDS_QUALITY_GOOD);
    case TrendQuality::Uncertain: return LoadResString(IDS_QUALITY_UNCERTAIN);
    case TrendQuality::NotAvailable: return LoadResString(IDS_QUALITY_NA);
    case TrendQuality::Bad: return LoadResString(IDS_QUALITY_BAD);
    case TrendQuality::Invalid: return LoadResString(IDS_QUALITY_INVALID);
    case TrendQuality::None: break;
    }
    return {};
}

QString ValueText(double value)
{
    // The C locale: a decimal comma would split the field.
    return std::isnan(value) ? QString() : QString::number(value, 'g', 15);
}

// Every tick any series holds, oldest first: a series added later starts later.
std::vector<qint64> Ticks(const std::vector<const TrendSeries*>& series)
{
    std::vector<qint64> ticks;
    for (const TrendSeries* s : series) {
        for (int i = 0; i < s->Count(); ++i)
            ticks.push_back(s->At(i).msecs);
    }
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    return ticks;
}

} // namespace

QString TrendCsvWriter::TimeStamp(qint64 msecs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs, Qt::LocalTime);
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString TrendCsvWriter::Quote(const QString& field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r') && !field.contains(u'\n'))
        return field;
    return u'"' + QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QByteArray TrendCsvWriter::Format(const std::vector<const TrendSeries*>& series)
{
    QStringList header{Quote(LoadResString(IDS_TREND_CSV_TIME))};
    const QString qualityHeader = LoadResString(IDS_TREND_CSV_QUALITY);
    for (const TrendSeries* s : series) {
        header << Quote(s->Label());
        header << Quote(QString(qualityHeader).replace(QStringLiteral("%s"), s->Label()));
    }
    QString out = header.join(u',') + QStringLiteral("\r\n");

    // Each series' samples are in time order, so one cursor per series walks
    // along with the ticks.
    std::vector<int> next(series.size(), 0);
    for (const qint64 tick : Ticks(series)) {
        out += TimeStamp(tick);
        for (size_t i = 0; i < series.size(); ++i) {
            const TrendSeries& s = *series[i];
            while (next[i] < s.Count() && s.At(next[i]).msecs < tick)
                ++next[i];
            out += u',';
            if (next[i] < s.Count() && s.At(next[i]).msecs == tick) {
                const TrendSample& sample = s.At(next[i]);
                out += ValueText(sample.value) + u',' + Quote(QualityText(sample.quality));
            } else {
                out += u',';
            }
        }
        out += QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

bool TrendCsvWriter::Write(const QString& path, const std::vector<const TrendSeries*>& series)
{
    return FileStore::WriteAll(path, Format(series));
}
