#pragma once

#include "TrendSample.h"
#include "TrendSeries.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class CTrendChartView;
class QPushButton;

// What a watched row showed on a tick.
struct TrendReading
{
    QString value;
    TrendQuality quality;
};

// The trend window: a live chart of watched rows, fed from the refresh tick.
// Non-modal and owned by the main window. Pause freezes the view while ticks
// are still collected. Its placement is kept in the settings section "Trend".
class CTrendWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxSeries = 32;

    explicit CTrendWindow(QWidget* parent);
    ~CTrendWindow() override;

    // Adds a series for each label not shown yet, up to kMaxSeries; says so
    // when some did not fit. Returns how many were added.
    int AddSeries(const QStringList& labels);
    QStringList Labels() const;
    const std::vector<std::unique_ptr<TrendSeries>>& Series() const { return m_series; }

    // One tick: readings[i] belongs to series i.
    void AddTick(qint64 msecs, const std::vector<TrendReading>& readings);

    bool IsPaused() const { return m_paused; }
    void SetPaused(bool paused);
    void SaveCsv();
    void SavePng();

    CTrendChartView* ChartView() const { return m_view; }
    QPushButton* PauseButton() const { return m_pause; }

    static QString SettingsSection();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RestorePlacement();
    void StorePlacement();
    void Redraw();
    std::vector<const TrendSeries*> SeriesList() const;
    void ReportSaveFailure(const QString& path);

    CTrendChartView* m_view;
    QPushButton* m_pause;
    std::vector<std::unique_ptr<TrendSeries>> m_series;
    bool m_paused = false;
};
