#pragma once

#include "toolkit/protocol/RowAnswer.h"
#include "toolkit/protocol/RuntimeResult.h"
#include "toolkit/protocol/TagEntry.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// Decodes the bodies of the runtime's replies. Each is false when the body is
// short, carries bytes left over, or says something no runtime would: the
// connection is then not to be trusted any more.
class ReplyDecoder
{
public:
    struct Greeting
    {
        std::uint16_t version = 0;
        bool loginRequired = false;
        std::uint32_t keepAliveMs = 0;
    };

    static bool Hello(const QByteArray& body, Greeting& out);
    // Exactly count results.
    static bool Results(const QByteArray& body, std::size_t count, std::vector<RuntimeResult>& out);
    static bool Result(const QByteArray& body, RuntimeResult& out);
    static bool Resolved(const QByteArray& body, std::uint32_t& id);
    // One page of a Browse reply: appends its tags; total is the runtime's tag
    // count. A page that would list more tags than total is refused.
    static bool TagPage(const QByteArray& body, std::uint32_t& total, std::vector<TagEntry>& out);
    // An EnterRows reply to rows of these steps: the answers of the leading
    // rows, never more than were sent.
    static bool EnteredRows(const QByteArray& body, const std::vector<std::uint8_t>& steps,
                            std::vector<RowAnswer>& out);
};
