#pragma once

#include "toolkit/TagListing.h"

#include <QStandardItemModel>

#include <memory>
#include <vector>

// Turns the runtime's flat tag list into a tree: the dotted name's leading
// parts become folders, the last part the tag, with type, value and quality in
// the columns beside it. Folders come before tags, each sorted by name.
class TagTreeBuilder
{
public:
    enum Column { NameColumn, TypeColumn, ValueColumn, QualityColumn, ColumnCount };
    enum Role {
        // On the name column: the full tag name; empty for a folder.
        TagNameRole = Qt::UserRole + 1,
        SortKeyRole,
    };

    static std::unique_ptr<QStandardItemModel> Build(const std::vector<VtTagInfo>& tags);
};
