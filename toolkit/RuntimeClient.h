#pragma once

#include "VtConnection.h"
#include "toolkit/protocol/RowAnswer.h"
#include "toolkit/protocol/RowEntry.h"
#include "toolkit/protocol/RuntimeResult.h"
#include "toolkit/protocol/TagEntry.h"

#include <QStringList>

#include <vector>

// The requests of docs/protocol.md on one connection, with their replies
// decoded and checked. A reply that does not decode marks the connection lost.
class RuntimeClient
{
public:
    explicit RuntimeClient(VtConnection& connection);

    // True when the runtime accepts the text; else error says why.
    bool Compile(const QString& text, QString& error);
    // One result per text, in order, from one request.
    std::vector<RuntimeResult> Evaluate(const QStringList& texts);
    // The tag's id, or -1 when the text is not exactly one tag.
    std::int64_t Resolve(const QString& name);
    RuntimeResult Read(std::uint32_t id);
    bool Write(std::uint32_t id, const RuntimeValue& value);
    // The answers to the first rows, in order, from one EnterRows request; as
    // many rows as fit one frame are sent, and the runtime may answer fewer.
    // False when the request failed.
    bool EnterRows(const std::vector<RowEntry>& rows, const QString& invalid, std::vector<RowAnswer>& answers);
    // Every tag of the runtime, in its order, from as many Browse pages as needed.
    bool ListTags(std::vector<TagEntry>& tags, QString& error);

private:
    bool Decoded(bool ok);

    VtConnection& m_connection;
};
