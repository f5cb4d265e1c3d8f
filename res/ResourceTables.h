#pragma once

// The resource tables a module carries: the program's own, linked into the
// executable, and each language library's, exported under kResourceTablesSymbol.

#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

struct StringResource
{
    UINT id;
    const char16_t* text;
};

struct ResourceTables
{
    // sizeof(ResourceTables) of the module that built it, so that a reader can
    // tell which tables an older library carries.
    std::uint32_t size;
    const StringResource* strings;
    std::size_t stringCount;
};

using ResourceTablesFunction = const ResourceTables* (*)();
inline constexpr const char* kResourceTablesSymbol = "QuillonResourceTables";

#define QUILLON_RESOURCE_EXPORT extern "C" __attribute__((visibility("default")))
