#include "CTrendWindow.h"

#include "CTrendChartView.h"
#include "TrendCsvWriter.h"
#include "platform/FileDialog.h"
#include "platform/FileStore.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/ScreenMetrics.h"
#include "res/Resource.h"
#include "res/Resources.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize kDefaultSize(760, 440);
constexpr QSize kMinimumSize(320, 200);

} // namespace

CTrendWindow::CTrendWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_view(new CTrendChartView(this))
    , m_pause(new QPushButton(LoadResString(IDS_TREND_PAUSE), this))
{
    setWindowTitle(LoadResString(IDS_TREND_TITLE));
    setMinimumSize(kMinimumSize);
    auto* saveCsv = new QPushButton(LoadResString(IDS_TREND_SAVE_CSV), this);
    auto* savePng = new QPushButton(LoadResString(IDS_TREND_SAVE_PNG), this);
    m_pause->setObjectName(QStringLiteral("pause"));
    saveCsv->setObjectName(QStringLiteral("saveCsv"));
    savePng->setObjectName(QStringLiteral("savePng"));
    connect(m_pause, &QPushButton::clicked, this, [this] { SetPaused(!m_paused); });
    connect(saveCsv, &QPushButton::clicked, this, &CTrendWindow::SaveCsv);
    connect(savePng, &QPushButton::clicked, this, &CTrendWindow::SavePng);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pause);
    buttons->addStretch(1);
    buttons->addWidget(saveCsv);
    buttons->addWidget(savePng);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    resize(kDefaultSize);
    RestorePlacement();
}

CTrendWindow::~CTrendWindow() = default;

QString CTrendWindow::SettingsSection()
{
    return QStringLiteral("Trend");
}

int CTrendWindow::AddSeries(const QStringList& labels)
{
    QStringList shown = Labels();
    int added = 0;
    int refused = 0;
    for (const QString& label : labels) {
        if (label.isEmpty() || shown.contains(label))
            continue;
        if (int(m_series.size()) >= kMaxSeries) {
            ++refused;
            continue;
        }
        m_series.push_back(std::make_unique<TrendSeries>(label));
        shown << label;
        ++added;
    }
    if (added > 0)
        Redraw();
    if (refused > 0)
        AfxMessageBox(
            FormatResText(LoadResString(IDS_TREND_TOO_MANY), {QString::number(kMaxSeries), QString::number(refused)}),
            MB_OK | MB_ICONINFORMATION);
    return added;
}

QStringList CTrendWindow::Labels() const
{
    QStringList labels;
    for (const auto& s : m_series)
        labels << s->Label();
    return labels;
}

void CTrendWindow::AddTick(qint64 msecs, const std::vector<TrendReading>& readings)
{
    for (size_t i = 0; i < m_series.size(); ++i) {
        if (i < readings.size())
            m_series[i]->Add(msecs, readings[i].value, readings[i].quality);
        else
            m_series[i]->Add(msecs, QString(), TrendQuality::None);
    }
    if (!m_paused)
        Redraw();
}

void CTrendWindow::SetPaused(bool paused)
{
    m_paused = paused;
    m_pause->setText(LoadResString(paused ? IDS_TREND_RESUME : IDS_TREND_PAUSE));
    if (!paused)
        Redraw();
}

void CTrendWindow::Redraw()
{
    m_view->Redraw(m_series);
}

std::vector<const TrendSeries*> CTrendWindow::SeriesList() const
{
    std::vector<const TrendSeries*> list;
    for (const auto& s : m_series)
        list.push_back(s.get());
    return list;
}

void CTrendWindow::ReportSaveFailure(const QString& path)
{
    AfxMessageBox(FormatResText(LoadResString(IDS_TREND_SAVE_FAILED), {QDir::toNativeSeparators(path)}),
                  MB_OK | MB_ICONERROR);
}

void CTrendWindow::SaveCsv()
{
    const QString path =
        GetSaveFileName(this, LoadResString(IDS_TREND_SAVE_CSV).remove(u'&'), QStringLiteral("trend.csv"),
                        LoadResString(IDS_TREND_CSV_FILTER), QStringLiteral("csv"));
    if (!path.isEmpty() && !TrendCsvWriter::Write(path, SeriesList()))
        ReportSaveFailure(path);
}

void CTrendWindow::SavePng()
{
    const QString path =
        GetSaveFileName(this, LoadResString(IDS_TREND_SAVE_PNG).remove(u'&'), QStringLiteral("trend.png"),
                        LoadResString(IDS_TREND_PNG_FILTER), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    // The chart as shown, paused or not; written whole like every other file.
    if (!buffer.open(QIODevice::WriteOnly) || !m_view->grab().save(&buffer, "PNG") || !FileStore::WriteAll(path, bytes))
        ReportSaveFailure(path);
}

void CTrendWindow::RestorePlacement()
{
    const QString section = SettingsSection();
    const int width = int(GetProfileIntW(section, QStringLiteral("Width"), 0));
    const int height = int(GetProfileIntW(section, QStringLiteral("Height"), 0));
    if (width <= 0 || height <= 0)
        return;
    const qint64 left = int(GetProfileIntW(section, QStringLiteral("Left"), 0));
    const qint64 top = int(GetProfileIntW(section, QStringLiteral("Top"), 0));
    setGeometry(ReachableRect(left, top, left + width, top + height, minimumSize()));
}

void CTrendWindow::StorePlacement()
{
    const QString section = SettingsSection();
    const QRect placed = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    WriteProfileIntW(section, QStringLiteral("Left"), placed.left());
    WriteProfileIntW(section, QStringLiteral("Top"), placed.top());
    WriteProfileIntW(section, QStringLiteral("Width"), placed.width());
    WriteProfileIntW(section, QStringLiteral("Height"), placed.height());
}

void CTrendWindow::closeEvent(QCloseEvent* event)
{
    StorePlacement();
    QWidget::closeEvent(event);
}
