#pragma once

// What the tag browser library reads from the toolkit: the tags of the active
// runtime. Exported for that library; the program itself does not call it.

#include "runtime/VantelToolkit.h"

#include <QString>

#include <cstdint>
#include <vector>

struct VtTagInfo
{
    QString name;
    QString type;  // bool, int, real or string
    QString value; // as FormatResultValue shows it; long strings cut
    std::uint16_t quality = 0;
    bool writable = false;
};

// Every tag of the active runtime, in the runtime's order. False, with the
// reason, when no runtime is connected or the link failed (the connection is
// then lost, as after any failed request).
VANTEL_API bool VtListTags(std::vector<VtTagInfo>& tags, QString& reason);
