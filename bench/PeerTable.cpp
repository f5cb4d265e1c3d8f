#include "PeerTable.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

constexpr int kColumns = 4;
constexpr int kWidth = 400;
constexpr int kHeight = 300;

} // namespace

PeerTable::PeerTable(int rows, const std::function<QString(int row, int col)>& text) : m_model(rows, kColumns)
{
    for (int row = 0; text && row < rows; ++row) {
        for (int col = 0; col < kColumns; ++col)
            m_model.setItem(row, col, new QStandardItem(text(row, col)));
    }
    m_view.setModel(&m_model);
    m_view.resize(kWidth, kHeight);
    m_view.show();
}

void PeerTable::Load(const std::vector<WatchListRow>& rows)
{
    for (const WatchListRow& entry : rows) {
        auto* check = new QStandardItem;
        check->setCheckable(true);
        check->setCheckState(entry.continuous ? Qt::Checked : Qt::Unchecked);
        m_model.appendRow({new QStandardItem(entry.text), new QStandardItem, new QStandardItem, check});
    }
}

void PeerTable::ExportToClipboard() const
{
    QString text;
    for (int row = 0; row < m_model.rowCount(); ++row) {
        for (int col = 0; col < m_model.columnCount(); ++col) {
            if (col > 0)
                text += u'\t';
            if (const QStandardItem* item = m_model.item(row, col))
                text += item->text();
        }
        if (row + 1 < m_model.rowCount())
            text += QStringLiteral("\r\n");
    }
    QGuiApplication::clipboard()->setText(text);
}

void PeerTable::ImportFromClipboard()
{
    const QString text = QGuiApplication::clipboard()->text();
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (int row = 0; row < lines.size() && row < m_model.rowCount(); ++row) {
        QStringView line = lines[row];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QList<QStringView> fields = line.split(u'\t');
        for (int col = 0; col < fields.size() && col < m_model.columnCount(); ++col)
            m_model.setData(m_model.index(row, col), fields[col].trimmed().toString());
    }
}
