#pragma once

// The resource tables a module carries: the program's own, linked into the
// executable, and each language library's, exported under kResourceTablesSymbol.

#include "platform/DialogTemplate.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

struct StringResource
{
    UINT id;
    const char16_t* text;
};

// One item of a pop-up menu; id 0 without text is a separator.
struct MenuItemResource
{
    UINT id;
    const char16_t* text;
};

// A menu bar with one pop-up, as the context menus use it.
struct MenuResource
{
    UINT id;
    const char16_t* popupText;
    const MenuItemResource* items;
    std::size_t itemCount;
};

// An icon as the bytes of a PNG file.
struct IconResource
{
    UINT id;
    const unsigned char* png;
    std::size_t size;
};

// The translation of a text that code hands to Qt's translate() (tr()): the
// tag browser library's texts and the program's own Qt-translated ones.
// Context and source are the UTF-8 texts the code passes.
struct TranslationResource
{
    const char* context;
    const char* source;
    const char16_t* text;
};

struct ResourceTables
{
    // sizeof(ResourceTables) of the module that built it, so that a reader can
    // tell which tables an older library carries. New tables are only appended.
    std::uint32_t size;
    const StringResource* strings;
    std::size_t stringCount;
    const DialogTemplate* dialogs;
    std::size_t dialogCount;
    const MenuResource* menus;
    std::size_t menuCount;
    const IconResource* icons;
    std::size_t iconCount;
    const TranslationResource* translations;
    std::size_t translationCount;
};

using ResourceTablesFunction = const ResourceTables* (*)();
inline constexpr const char* kResourceTablesSymbol = "QuillonResourceTables";

#define QUILLON_RESOURCE_EXPORT extern "C" __attribute__((visibility("default")))
