#include "CTrendController.h"

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "trend/CTrendWindow.h"
#include "watch/CGridQuillon.h"

#include <QDateTime>
#include <QKeyEvent>

#include <array>
#include <utility>

CTrendController::CTrendController(CGridQuillon& grid, QWidget* owner) : m_grid(grid), m_owner(owner)
{
    m_grid.installEventFilter(this);
}

CTrendController::~CTrendController()
{
    m_grid.removeEventFilter(this);
}

bool CTrendController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_T && key->modifiers() == Qt::ControlModifier) {
            OnTrendCommand();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QStringList CTrendController::ChosenLabels() const
{
    const bool all = m_grid.GetSelectedCount() <= 1;
    QStringList labels;
    for (int row = m_grid.GetFixedRowCount(); row < m_grid.GetRowCount(); ++row) {
        if (!m_grid.IsContinuous(row))
            continue;
        bool chosen = all;
        for (int col = 0; !chosen && col < m_grid.GetColumnCount(); ++col)
            chosen = m_grid.IsCellSelected(row, col) != FALSE;
        const QString label = m_grid.GetItemText(row, CGridQuillon::ColTag);
        if (chosen && !label.isEmpty() && !labels.contains(label))
            labels << label;
    }
    return labels;
}

void CTrendController::OnTrendCommand()
{
    const QStringList labels = ChosenLabels();
    if (labels.isEmpty()) {
        AfxMessageBox(LoadResString(IDS_TREND_NO_ROWS), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!m_window) {
        m_window = new CTrendWindow(m_owner);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_rows.clear();
    }
    m_window->AddSeries(labels);
    m_rows.resize(m_window->Series().size(), -1);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

int CTrendController::FindRow(const QString& label, size_t series)
{
    const auto matches = [&](int row) {
        return row >= m_grid.GetFixedRowCount() && row < m_grid.GetRowCount() &&
               m_grid.GetItemText(row, CGridQuillon::ColTag) == label;
    };
    int& cached = m_rows[series];
    if (matches(cached))
        return cached;
    cached = -1;
    for (int row = m_grid.GetFixedRowCount(); row < m_grid.GetRowCount(); ++row) {
        if (matches(row)) {
            cached = row;
            break;
        }
    }
    return cached;
}

void CTrendController::OnTick(bool connected)
{
    if (!m_window)
        return;
    const std::array<std::pair<UINT, TrendQuality>, 5> qualities = {{
        {IDS_QUALITY_GOOD, TrendQuality::Good},
        {IDS_QUALITY_UNCERTAIN, TrendQuality::Uncertain},
        {IDS_QUALITY_NA, TrendQuality::NotAvailable},
        {IDS_QUALITY_BAD, TrendQuality::Bad},
        {IDS_QUALITY_INVALID, TrendQuality::Invalid},
    }};
    std::array<QString, qualities.size()> qualityTexts;
    for (size_t i = 0; i < qualities.size(); ++i)
        qualityTexts[i] = LoadResString(qualities[i].first);

    const auto& series = m_window->Series();
    m_rows.resize(series.size(), -1);
    std::vector<TrendReading> readings(series.size(), TrendReading{QString(), TrendQuality::None});
    for (size_t i = 0; connected && i < series.size(); ++i) {
        const int row = FindRow(series[i]->Label(), i);
        // A row that is no longer Continuous is not read, so its value is old.
        if (row < 0 || !m_grid.IsContinuous(row))
            continue;
        const QString quality = m_grid.GetItemText(row, CGridQuillon::ColQuality);
        for (size_t q = 0; q < qualities.size(); ++q) {
            if (quality == qualityTexts[q]) {
                readings[i] = {m_grid.GetItemText(row, CGridQuillon::ColValue), qualities[q].second};
                break;
            }
        }
    }
    m_window->AddTick(QDateTime::currentMSecsSinceEpoch(), readings);
}

void CTrendController::Close()
{
    if (m_window)
        m_window->close();
}
