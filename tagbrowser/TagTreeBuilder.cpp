#include "TagTreeBuilder.h"

#include <QCoreApplication>
#include <QHash>

namespace {

// The host installs the translations of its language.
QString Tr(const char* text)
{
    return QCoreApplication::translate("TagTreeBuilder", text);
}

QStandardItem* Cell(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QString QualityText(std::uint16_t quality)
{
    VtChar text[32];
    FormatQuality(quality, text, std::size(text));
    return QString::fromUtf16(text);
}

// The folder item for a dotted path, made with its parents on first use.
class FolderIndex
{
public:
    explicit FolderIndex(QStandardItem* root) : m_root(root) {}

    QStandardItem* Folder(const QString& path)
    {
        if (path.isEmpty())
            return m_root;
        // Tag names ignore letter case, so "Plant.A" and "plant.B" share a folder.
        const QString key = path.toCaseFolded();
        if (QStandardItem* known = m_folders.value(key))
            return known;
        const qsizetype dot = path.lastIndexOf(u'.');
        QStandardItem* parent = Folder(dot < 0 ? QString() : path.left(dot));
        QStandardItem* folder = Cell(path.mid(dot + 1));
        folder->setData(QString(), TagTreeBuilder::TagNameRole);
        folder->setData(QStringLiteral("0") + folder->text().toCaseFolded(), TagTreeBuilder::SortKeyRole);
        parent->appendRow({folder, Cell(QString()), Cell(QString()), Cell(QString())});
        m_folders.insert(key, folder);
        return folder;
    }

private:
    QStandardItem* m_root;
    QHash<QString, QStandardItem*> m_folders;
};

} // namespace

std::unique_ptr<QStandardItemModel> TagTreeBuilder::Build(const std::vector<VtTagInfo>& tags)
{
    auto model = std::make_unique<QStandardItemModel>(0, ColumnCount);
    model->setHorizontalHeaderLabels({Tr("Name"), Tr("Type"), Tr("Value"), Tr("Quality")});
    FolderIndex folders(model->invisibleRootItem());
    for (const VtTagInfo& tag : tags) {
        const qsizetype dot = tag.name.lastIndexOf(u'.');
        QStandardItem* name = Cell(tag.name.mid(dot + 1));
        name->setData(tag.name, TagNameRole);
        name->setData(QStringLiteral("1") + name->text().toCaseFolded(), SortKeyRole);
        name->setToolTip(tag.name + (tag.writable ? Tr(" (writable)") : Tr(" (read-only)")));
        QStandardItem* type = Cell(tag.type + (tag.writable ? QString() : Tr(", read-only")));
        folders.Folder(dot < 0 ? QString() : tag.name.left(dot))
            ->appendRow({name, type, Cell(tag.value), Cell(QualityText(tag.quality))});
    }
    model->setSortRole(SortKeyRole);
    model->sort(NameColumn);
    return model;
}
