#pragma once

#include "runtime/VantelToolkit.h"
#include "toolkit/protocol/RuntimeResult.h"

#include <QString>

// Keeps an evaluation result inside the program's ResultRecord: the valid flag
// and quality where the program reads them, the value (or the reason for an
// invalid result) in the bytes between, for FormatResultValue.
class ResultRecordCodec
{
public:
    static void Store(const RuntimeResult& result, ResultRecord& record);
    static void StoreFailure(const QString& reason, ResultRecord& record);
    // The value text, or for an invalid result "Error: " and the reason.
    static QString Format(const ResultRecord& record);

    static constexpr int kMaxText = 1024;
};
