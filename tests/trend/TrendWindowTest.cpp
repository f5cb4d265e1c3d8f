#include "trend/CTrendChartView.h"
#include "trend/CTrendWindow.h"

#include "../common/ScratchSettings.h"
#include "../common/TempDir.h"
#include "platform/FileDialog.h"
#include "platform/Module.h"
#include "res/Resources.h"

#include <QApplication>
#include <QDateTimeAxis>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr qint64 kStart = 1'700'000'000'000;

// Each test gets its own settings file and records the messages it causes.
class TrendWindowTest : public ::testing::Test
{
protected:
    static std::vector<TrendReading> Readings(std::initializer_list<TrendReading> readings) { return readings; }

    TempDir m_dir;
    ScratchSettings m_settings{m_dir.File(QStringLiteral("QuillonExt.ini"))};
    QStringList& messages = m_settings.messages;
};

// Pixels of colour within a few pixels of pos in the picture.
bool ColourNear(const QImage& image, QPoint pos, QRgb colour, int reach = 2)
{
    for (int dx = -reach; dx <= reach; ++dx) {
        for (int dy = -reach; dy <= reach; ++dy) {
            const QPoint p = pos + QPoint(dx, dy);
            if (image.rect().contains(p) && (image.pixel(p) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
        }
    }
    return false;
}

TEST_F(TrendWindowTest, PictureShowsStepLinesAndAGap)
{
    CTrendWindow window(nullptr);
    window.resize(640, 400);
    ASSERT_EQ(window.AddSeries({QStringLiteral("Plant.Tank1.Level"), QStringLiteral("Plant.Pump1.Running")}), 2);
    // Level: 20, 20, 60 (a jump), bad for three ticks, then 40. Running: 0/1 as a bool.
    const char* levels[] = {"20", "20", "60", "60", "x", "x", "x", "40", "40", "40"};
    for (int i = 0; i < 10; ++i) {
        const TrendQuality quality = i >= 4 && i <= 6 ? TrendQuality::Bad : TrendQuality::Good;
        window.AddTick(kStart + i * 500,
                       Readings({{QString::fromLatin1(levels[i]), quality},
                                 {i % 4 < 2 ? QStringLiteral("0") : QStringLiteral("1"), TrendQuality::Good}}));
    }
    window.show();
    QApplication::processEvents();
    CTrendChartView& view = *window.ChartView();
    const QImage image = view.grab().toImage();
    const QString picture = QStringLiteral(QUILLON_TEST_OUTPUT_DIR "/trend-picture.png");
    ASSERT_TRUE(image.save(picture)) << picture.toStdString();

    QChart* chart = view.chart();
    const QRgb level = view.LineColor(0).rgb();
    auto at = [&](double tick, double value) {
        return view.mapFromScene(chart->mapToPosition(QPointF(double(kStart + tick * 500), value)));
    };
    // The hold at 20 and the vertical jump to 60 at tick 2.
    EXPECT_TRUE(ColourNear(image, at(1, 20), level));
    EXPECT_TRUE(ColourNear(image, at(2, 40), level)) << "the jump is vertical";
    EXPECT_FALSE(ColourNear(image, at(1.5, 40), level)) << "no ramp between the samples";
    // 60 holds until the bad tick 4; nothing is drawn until tick 7.
    EXPECT_TRUE(ColourNear(image, at(3.5, 60), level));
    for (double tick : {4.5, 5.0, 5.5, 6.0, 6.5}) {
        EXPECT_FALSE(ColourNear(image, at(tick, 60), level)) << tick;
        EXPECT_FALSE(ColourNear(image, at(tick, 50), level)) << tick;
        EXPECT_FALSE(ColourNear(image, at(tick, 40), level)) << tick;
    }
    EXPECT_TRUE(ColourNear(image, at(8, 40), level));
    // The y axis spans the visible data; the time axis the kept ticks.
    EXPECT_LE(view.ValueAxis()->min(), 0.0);
    EXPECT_GE(view.ValueAxis()->max(), 60.0);
    EXPECT_LE(view.ValueAxis()->max(), 80.0);
    EXPECT_EQ(view.TimeAxis()->min().toMSecsSinceEpoch(), kStart);
    EXPECT_EQ(view.TimeAxis()->max().toMSecsSinceEpoch(), kStart + 9 * 500);
}

TEST_F(TrendWindowTest, LegendClickHidesAndShowsASeriesAndTheAxisFollows)
{
    CTrendWindow window(nullptr);
    window.AddSeries({QStringLiteral("Small"), QStringLiteral("Large")});
    for (int i = 0; i < 4; ++i)
        window.AddTick(kStart + i * 500,
                       Readings({{QString::number(i), TrendQuality::Good},
                                 {i == 2 ? QStringLiteral("x") : QStringLiteral("1000"), TrendQuality::Good}}));
    window.show();
    QApplication::processEvents();
    CTrendChartView& view = *window.ChartView();
    EXPECT_GE(view.ValueAxis()->max(), 1000.0);
    // The gap split "Large" into two segments, but the legend has one entry each.
    int entries = 0;
    QLegendMarker* large = nullptr;
    for (QLegendMarker* marker : view.chart()->legend()->markers()) {
        if (marker->isVisible()) {
            ++entries;
            if (marker->label() == QStringLiteral("Large"))
                large = marker;
        }
    }
    EXPECT_EQ(entries, 2);
    ASSERT_NE(large, nullptr);
    emit large->clicked();
    EXPECT_FALSE(view.IsLineVisible(1));
    EXPECT_TRUE(large->isVisible()) << "the entry stays to be clicked again";
    EXPECT_LT(view.ValueAxis()->max(), 10.0);
    emit large->clicked();
    EXPECT_TRUE(view.IsLineVisible(1));
    EXPECT_GE(view.ValueAxis()->max(), 1000.0);
}

TEST_F(TrendWindowTest, ExtremeValuesAreDrawnWithoutHarm)
{
    CTrendWindow window(nullptr);
    window.resize(400, 300);
    window.AddSeries({QStringLiteral("Huge"), QStringLiteral("Tiny")});
    const char* huge[] = {"1.7e308", "-1.7e308", "0", "1e-300"};
    for (int i = 0; i < 4; ++i)
        window.AddTick(kStart + i * 500, Readings({{QString::fromLatin1(huge[i]), TrendQuality::Good},
                                                   {QStringLiteral("1e-320"), TrendQuality::Good}}));
    window.show();
    EXPECT_FALSE(window.ChartView()->grab().isNull());
}

TEST_F(TrendWindowTest, PauseFreezesTheViewWhileTicksAreStillCollected)
{
    CTrendWindow window(nullptr);
    window.AddSeries({QStringLiteral("A")});
    window.AddTick(kStart, Readings({{QStringLiteral("1"), TrendQuality::Good}}));
    window.AddTick(kStart + 500, Readings({{QStringLiteral("2"), TrendQuality::Good}}));
    const CTrendChartView& view = *window.ChartView();
    const std::vector<QList<QPointF>> shown = view.Segments(0);

    QTest::mouseClick(window.PauseButton(), Qt::LeftButton);
    EXPECT_TRUE(window.IsPaused());
    EXPECT_EQ(window.PauseButton()->text(), QStringLiteral("&Resume"));
    window.AddTick(kStart + 1000, Readings({{QStringLiteral("7"), TrendQuality::Good}}));
    EXPECT_EQ(view.Segments(0), shown);
    EXPECT_EQ(window.Series()[0]->Count(), 3);

    QTest::mouseClick(window.PauseButton(), Qt::LeftButton);
    EXPECT_FALSE(window.IsPaused());
    EXPECT_EQ(view.Segments(0).back().constLast(), QPointF(double(kStart + 1000), 7.0));
}

TEST_F(TrendWindowTest, AtMost32SeriesAndNoDuplicates)
{
    CTrendWindow window(nullptr);
    QStringList labels;
    for (int i = 0; i < 30; ++i)
        labels << QStringLiteral("Tag%1").arg(i);
    EXPECT_EQ(window.AddSeries(labels), 30);
    EXPECT_TRUE(messages.isEmpty());
    // Two already shown, three new: two fit.
    EXPECT_EQ(window.AddSeries({QStringLiteral("Tag0"), QStringLiteral("Tag1"), QStringLiteral("N1"),
                                QStringLiteral("N2"), QStringLiteral("N3")}),
              2);
    EXPECT_EQ(window.Series().size(), 32u);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("The trend shows at most 32 series; rows not added: 1."));
    EXPECT_EQ(window.ChartView()->LineCount(), 32);
}

TEST_F(TrendWindowTest, SavesCsvAndPngThroughTheFileDialog)
{
    CTrendWindow window(nullptr);
    window.resize(500, 300);
    window.AddSeries({QStringLiteral("A")});
    window.AddTick(kStart, Readings({{QStringLiteral("1"), TrendQuality::Good}}));
    QString answer;
    QStringList suffixes;
    const SaveFileDialogHandler saved =
        SetSaveFileDialogHandler([&](const QString&, const QString&, const QString&, const QString& suffix) {
            suffixes << suffix;
            return answer;
        });

    answer = m_dir.File(QStringLiteral("out.csv"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("saveCsv")), Qt::LeftButton);
    EXPECT_TRUE(m_dir.Read(QStringLiteral("out.csv")).startsWith("Time,A,A Quality\r\n"));
    answer = m_dir.File(QStringLiteral("out.png"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("savePng")), Qt::LeftButton);
    EXPECT_TRUE(QImage(answer).width() > 100);
    EXPECT_EQ(suffixes, (QStringList{QStringLiteral("csv"), QStringLiteral("png")}));
    EXPECT_TRUE(messages.isEmpty());

    // A folder that does not exist: said, and nothing else happens.
    answer = m_dir.File(QStringLiteral("missing/out.csv"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("saveCsv")), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("could not be written"))) << messages[0].toStdString();
    // Cancelled: nothing written, nothing said.
    answer.clear();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("saveCsv")), Qt::LeftButton);
    EXPECT_EQ(messages.size(), 1);
    SetSaveFileDialogHandler(saved);
}

TEST_F(TrendWindowTest, PlacementIsKeptAcrossCloseAndReopen)
{
    const QRect placed(120, 90, 555, 333);
    {
        auto* window = new CTrendWindow(nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->setGeometry(placed);
        QApplication::processEvents();
        EXPECT_TRUE(window->close());
    }
    const QByteArray ini = m_dir.Read(QStringLiteral("QuillonExt.ini"));
    EXPECT_TRUE(ini.contains("[Trend]")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Width=555")) << ini.toStdString();
    CTrendWindow reopened(nullptr);
    reopened.show();
    QApplication::processEvents();
    EXPECT_EQ(reopened.geometry(), placed);

    // A damaged section is no placement: the window keeps its own size.
    m_dir.Write(QStringLiteral("QuillonExt.ini"), "[Trend]\r\nLeft=5\r\nTop=5\r\nWidth=-40\r\nHeight=abc\r\n");
    CTrendWindow fresh(nullptr);
    EXPECT_GE(fresh.width(), fresh.minimumWidth());
    EXPECT_GE(fresh.height(), fresh.minimumHeight());
}

TEST_F(TrendWindowTest, GermanStringsWithTheGermanLibrary)
{
    HMODULE german = LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll"));
    ASSERT_NE(german, nullptr);
    AfxSetResourceHandle(german);
    {
        CTrendWindow window(nullptr);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillon-Trend"));
        EXPECT_EQ(window.PauseButton()->text(), QStringLiteral("&Anhalten"));
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("saveCsv"))->text(),
                  QStringLiteral("Als &CSV speichern..."));
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("savePng"))->text(),
                  QStringLiteral("Als P&NG speichern..."));
        EXPECT_EQ(window.ChartView()->TimeAxis()->titleText(), QStringLiteral("Zeit"));
        window.SetPaused(true);
        EXPECT_EQ(window.PauseButton()->text(), QStringLiteral("&Fortsetzen"));
    }
    AfxSetResourceHandle(GetExecutableModule());
    FreeLibrary(german);
}

} // namespace

// The lines are filled straight into the pixels the view paints on where it
// can, else into an image blended over the plot; both must give one picture.
TEST_F(TrendWindowTest, LinesFilledIntoTheTargetMatchTheBlendedPlotImage)
{
    constexpr int kSeries = 32;
    CTrendWindow window(nullptr);
    QStringList labels;
    for (int s = 0; s < kSeries; ++s)
        labels << QStringLiteral("Plant.Area%1.Value").arg(s);
    ASSERT_EQ(window.AddSeries(labels), kSeries);
    // Dense waves beyond the kept samples, with gaps of bad quality.
    auto tick = [&](int t) {
        std::vector<TrendReading> readings;
        for (int s = 0; s < kSeries; ++s) {
            const double wave = 50 + 40 * std::sin((t + s * 37) * 2 * M_PI / 240) + s;
            const bool bad = (t + s * 11) % 300 < 12;
            readings.push_back({QString::number(wave, 'f', 2), bad ? TrendQuality::Bad : TrendQuality::Good});
        }
        window.AddTick(kStart + t * 500, readings);
    };
    int t = 0;
    for (; t < 1300; ++t)
        tick(t);
    CTrendChartView& view = *window.ChartView();
    view.SetLineVisible(3, false);
    view.SetLineVisible(17, false);
    window.show();
    // Paused: ticks still come but the view keeps its picture.
    QTest::mouseClick(window.PauseButton(), Qt::LeftButton);
    for (; t < 1320; ++t)
        tick(t);

    for (const QSize size : {QSize(640, 400), QSize(900, 500), QSize(1300, 700)}) {
        window.resize(size);
        QApplication::processEvents();
        auto render = [&](const QRegion& region) {
            QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::black);
            static_cast<QWidget&>(view).render(&image, QPoint(), region);
            return image;
        };
        const QImage direct = render(QRegion(view.rect()));
        // A clip of more than one rectangle sends the lines through the plot
        // image; the one pixel left out is the view's corner, not the plot.
        QImage blended = render(QRegion(view.rect()).subtracted(QRegion(0, 0, 1, 1)));
        blended.setPixel(0, 0, direct.pixel(0, 0));
        EXPECT_TRUE(direct == blended) << size.width() << "x" << size.height();
        EXPECT_TRUE(ColourNear(direct, view.rect().center(), view.LineColor(0).rgb(), view.height() / 3));
    }
}
