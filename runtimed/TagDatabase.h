#pragma once

#include "Tag.h"
#include "toolkit/protocol/Protocol.h"

#include <QHash>
#include <QString>

#include <vector>

// The plant's tags. Ids are indexes, stable for the life of the process; names
// are matched without regard to letter case.
class TagDatabase
{
public:
    // False when the name is taken (in any letter case) or not a valid tag name.
    bool Add(Tag tag);
    int Find(const QString& name) const;
    const Tag* Get(int id) const;
    int Count() const { return static_cast<int>(m_tags.size()); }

    // A client's write: checks access, converts to the tag's type.
    vtproto::Status Write(int id, const RuntimeValue& value);
    // The simulation's update; keeps the tag's quality.
    void Update(int id, const RuntimeValue& value);

    std::vector<Tag>& Tags() { return m_tags; }

private:
    void Store(Tag& tag, const RuntimeValue& value);

    std::vector<Tag> m_tags;
    QHash<QString, int> m_index; // by lower-case name
    QHash<QString, int> m_exact; // by name as the plant writes it
};
