#include "trend/TrendCsvWriter.h"
#include "trend/TrendSeries.h"

#include "../common/TempDir.h"
#include "platform/FileStore.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

// Local time is what the stamps show: each test fixes the zone it expects.
class TimeZoneGuard
{
public:
    explicit TimeZoneGuard(const char* zone) : m_saved(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneGuard()
    {
        if (m_had)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_saved;
    bool m_had;
};

TEST(TrendCsvWriter, TimeStampsAreLocalIsoWithMillisecondsAndOffset)
{
    {
        TimeZoneGuard zone("XYZ-01:30");
        EXPECT_EQ(TrendCsvWriter::TimeStamp(0), "1970-01-01T01:30:00.000+01:30");
    }
    {
        TimeZoneGuard zone("XYZ+05");
        EXPECT_EQ(TrendCsvWriter::TimeStamp(1'700'000'000'250), "2023-11-14T17:13:20.250-05:00");
    }
    {
        TimeZoneGuard zone("UTC0");
        EXPECT_EQ(TrendCsvWriter::TimeStamp(1'700'000'000'007), "2023-11-14T22:13:20.007+00:00");
    }
}

TEST(TrendCsvWriter, OneRowPerTickWithValueAndQualityPerSeries)
{
    TimeZoneGuard zone("UTC0");
    const qint64 t0 = 1'700'000'000'000;
    TrendSeries level(QStringLiteral("Plant.Tank1.Level"));
    TrendSeries odd(QStringLiteral("Max(\"a,b\", 2)"));
    level.Add(t0, QStringLiteral("12.5"), TrendQuality::Good);
    level.Add(t0 + 500, QStringLiteral("13"), TrendQuality::Good);
    odd.Add(t0 + 500, QStringLiteral("1"), TrendQuality::Good); // added one tick later
    level.Add(t0 + 1000, QStringLiteral("13"), TrendQuality::Bad);
    odd.Add(t0 + 1000, QStringLiteral("Invalid expression"), TrendQuality::Good);
    level.Add(t0 + 1500, QString(), TrendQuality::None);
    odd.Add(t0 + 1500, QStringLiteral("-0.000125"), TrendQuality::Good);

    const QByteArray expected = "Time,Plant.Tank1.Level,Plant.Tank1.Level Quality,"
                                "\"Max(\"\"a,b\"\", 2)\",\"Max(\"\"a,b\"\", 2) Quality\"\r\n"
                                "2023-11-14T22:13:20.000+00:00,12.5,GOOD,,\r\n"
                                "2023-11-14T22:13:20.500+00:00,13,GOOD,1,GOOD\r\n"
                                "2023-11-14T22:13:21.000+00:00,,BAD,,GOOD\r\n"
                                "2023-11-14T22:13:21.500+00:00,,,-0.000125,GOOD\r\n";
    EXPECT_EQ(TrendCsvWriter::Format({&level, &odd}), expected);

    TempDir dir;
    const QString path = dir.File(QStringLiteral("trend.csv"));
    dir.Write(QStringLiteral("trend.csv"), "old content");
    ASSERT_TRUE(TrendCsvWriter::Write(path, {&level, &odd}));
    EXPECT_EQ(dir.Read(QStringLiteral("trend.csv")), expected);

    // A write that fails leaves the old file whole.
    FileStore::SetWriteFault(
        [](FileStore::WriteStage stage, const QString&) { return stage == FileStore::WriteStage::Commit; });
    EXPECT_FALSE(TrendCsvWriter::Write(path, {&level}));
    FileStore::SetWriteFault({});
    EXPECT_EQ(dir.Read(QStringLiteral("trend.csv")), expected);
}

TEST(TrendCsvWriter, NoSeriesIsAHeaderOnly)
{
    EXPECT_EQ(TrendCsvWriter::Format({}), "Time\r\n");
}

} // namespace
