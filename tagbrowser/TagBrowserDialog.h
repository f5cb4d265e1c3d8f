#pragma once

#include <QDialog>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <memory>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTreeView;

// The modal tag picker: a filter box over a tree of the runtime's folders and
// tags. The filter keeps the tags whose full name contains the typed text
// (letter case ignored) and the folders above them. OK, Return or a double
// click on a tag picks it; Escape or Cancel picks nothing.
class TagBrowserDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TagBrowserDialog(QWidget* parent = nullptr);

    // Reads the tags of the active runtime; on failure the dialog says why.
    void Load();
    // The full name of the picked tag after exec() returned Accepted.
    QString PickedTag() const { return m_picked; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyFilter(const QString& text);
    void UpdateState();
    QString CurrentTag() const;
    QModelIndex FirstTag(const QModelIndex& parent) const;
    int CountTags(const QModelIndex& parent) const;

    QLineEdit* m_filter;
    QTreeView* m_tree;
    QLabel* m_status;
    QDialogButtonBox* m_buttons;
    std::unique_ptr<QStandardItemModel> m_model;
    QSortFilterProxyModel m_proxy;
    int m_tagCount = 0;
    QString m_loadError;
    QString m_picked;
};
