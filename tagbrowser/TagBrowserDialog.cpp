#include "TagBrowserDialog.h"

#include "TagTreeBuilder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TagBrowserDialog::TagBrowserDialog(QWidget* parent)
    : QDialog(parent)
    , m_filter(new QLineEdit(this))
    , m_tree(new QTreeView(this))
    , m_status(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Browse Tags"));
    m_status->setObjectName(QStringLiteral("status"));
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    m_filter->setPlaceholderText(tr("part of a tag name"));
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    m_tree->installEventFilter(this);

    m_proxy.setRecursiveFilteringEnabled(true);
    m_proxy.setFilterRole(TagTreeBuilder::TagNameRole);
    m_proxy.setFilterKeyColumn(TagTreeBuilder::NameColumn);
    m_proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_tree->setModel(&m_proxy);
    m_tree->setUniformRowHeights(true); // keeps scrolling through many thousand rows cheap
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* layout = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    layout->addLayout(filterRow);
    layout->addWidget(m_tree);
    layout->addWidget(m_status);
    layout->addWidget(m_buttons);
    resize(640, 480);

    connect(m_filter, &QLineEdit::textChanged, this, &TagBrowserDialog::ApplyFilter);
    connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        // A folder opens and closes on a double click by itself.
        if (!index.siblingAtColumn(TagTreeBuilder::NameColumn).data(TagTreeBuilder::TagNameRole).toString().isEmpty())
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TagBrowserDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TagBrowserDialog::reject);
    m_filter->setFocus();
}

void TagBrowserDialog::Load()
{
    std::vector<VtTagInfo> tags;
    m_loadError.clear();
    if (!VtListTags(tags, m_loadError))
        tags.clear();
    m_tagCount = static_cast<int>(tags.size());
    m_model = TagTreeBuilder::Build(tags);
    m_proxy.setSourceModel(m_model.get());
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &TagBrowserDialog::UpdateState);
    m_tree->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_tree->setColumnWidth(TagTreeBuilder::NameColumn, 260);
    m_tree->setColumnWidth(TagTreeBuilder::TypeColumn, 110);
    m_tree->setColumnWidth(TagTreeBuilder::ValueColumn, 140);
    // The top folders open: a plant's first level is what one looks for first.
    for (int row = 0; row < m_proxy.rowCount(); ++row)
        m_tree->expand(m_proxy.index(row, 0));
    UpdateState();
}

void TagBrowserDialog::ApplyFilter(const QString& text)
{
    const QString current = CurrentTag();
    m_proxy.setFilterFixedString(text.trimmed());
    if (text.trimmed().isEmpty()) {
        m_tree->collapseAll();
        for (int row = 0; row < m_proxy.rowCount(); ++row)
            m_tree->expand(m_proxy.index(row, 0));
    } else {
        m_tree->expandAll();
    }
    // Keep the tag that was current while it still matches; else offer the
    // first match, so that Return picks it at once.
    QModelIndex target;
    if (!current.isEmpty()) {
        const QModelIndexList hits = m_proxy.match(m_proxy.index(0, 0), TagTreeBuilder::TagNameRole, current, 1,
                                                   Qt::MatchFixedString | Qt::MatchRecursive);
        target = hits.value(0);
    }
    if (!target.isValid() && !text.trimmed().isEmpty())
        target = FirstTag(QModelIndex());
    if (target.isValid()) {
        m_tree->setCurrentIndex(target);
        m_tree->scrollTo(target);
    }
    UpdateState();
}

QModelIndex TagBrowserDialog::FirstTag(const QModelIndex& parent) const
{
    for (int row = 0; row < m_proxy.rowCount(parent); ++row) {
        const QModelIndex index = m_proxy.index(row, 0, parent);
        if (!index.data(TagTreeBuilder::TagNameRole).toString().isEmpty())
            return index;
        const QModelIndex inner = FirstTag(index);
        if (inner.isValid())
            return inner;
    }
    return {};
}

int TagBrowserDialog::CountTags(const QModelIndex& parent) const
{
    int count = 0;
    for (int row = 0; row < m_proxy.rowCount(parent); ++row) {
        const QModelIndex index = m_proxy.index(row, 0, parent);
        count += index.data(TagTreeBuilder::TagNameRole).toString().isEmpty() ? CountTags(index) : 1;
    }
    return count;
}

QString TagBrowserDialog::CurrentTag() const
{
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid()
               ? index.siblingAtColumn(TagTreeBuilder::NameColumn).data(TagTreeBuilder::TagNameRole).toString()
               : QString();
}

void TagBrowserDialog::UpdateState()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!CurrentTag().isEmpty());
    if (!m_loadError.isEmpty())
        m_status->setText(tr("The runtime's tags could not be read: %1.").arg(m_loadError));
    else if (m_proxy.filterRegularExpression().pattern().isEmpty())
        m_status->setText(tr("%1 tags").arg(m_tagCount));
    else
        m_status->setText(tr("%1 of %2 tags").arg(CountTags(QModelIndex())).arg(m_tagCount));
}

void TagBrowserDialog::accept()
{
    // Only a tag is a pick; a folder is a place to look into.
    const QString tag = CurrentTag();
    if (tag.isEmpty())
        return;
    m_picked = tag;
    QDialog::accept();
}

bool TagBrowserDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // The arrow and page keys in the filter box move through the tree, so that
    // one can type, go down to a match and pick it without leaving the box.
    const bool moves = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    if (watched == m_filter && moves) {
        QApplication::sendEvent(m_tree, event);
        return true;
    }
    // Return on a folder, where there is nothing to pick, opens or closes it.
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const QModelIndex current = m_tree->currentIndex().siblingAtColumn(TagTreeBuilder::NameColumn);
    if (enter && current.isValid() && CurrentTag().isEmpty()) {
        m_tree->setExpanded(current, !m_tree->isExpanded(current));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
