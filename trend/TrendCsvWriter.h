#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class TrendSeries;

// The trend as CSV: a header row, then one row per tick of any series. The
// first column is the local time stamp (ISO 8601 with milliseconds and the UTC
// offset), then per series its value (empty in a gap) and its quality text
// (empty where the row was not read). Comma-separated, CR LF line ends, UTF-8,
// fields quoted where they hold a comma, a quote or a line break.
class TrendCsvWriter
{
public:
    static QByteArray Format(const std::vector<const TrendSeries*>& series);
    // Written whole or not at all: an old file stays as it was on failure.
    static bool Write(const QString& path, const std::vector<const TrendSeries*>& series);

    static QString TimeStamp(qint64 msecs);
    static QString Quote(const QString& field);
};
