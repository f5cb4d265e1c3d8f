#pragma once

#include "Protocol.h"
#include "RuntimeValue.h"

#include <QString>

#include <cstdint>

// One evaluated expression or read tag: outcome, value, quality and time stamp
// (FILETIME ticks), or the reason it failed.
class RuntimeResult
{
public:
    vtproto::Status status = vtproto::Status::Ok;
    RuntimeValue value;
    std::uint16_t quality = 0;
    std::int64_t timeStamp = 0;
    QString error;

    static RuntimeResult Failure(vtproto::Status status, const QString& error);
    bool IsOk() const { return status == vtproto::Status::Ok; }

    void Encode(WireWriter& w) const;
    static bool Decode(WireReader& r, RuntimeResult& out);
};
