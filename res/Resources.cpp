#include "Resources.h"

#include "EnglishStrings.h"
#include "ResourceTables.h"

const ResourceTables* ResourceTablesOf(HMODULE module)
{
    if (module && module->library) {
        const auto entry = reinterpret_cast<ResourceTablesFunction>(GetProcAddress(module, kResourceTablesSymbol));
        const ResourceTables* tables = entry ? entry() : nullptr;
        if (tables && tables->size >= sizeof(ResourceTables))
            return tables;
    }
    return EnglishResourceTables();
}

QString LoadResString(HMODULE module, UINT id)
{
    const ResourceTables* tables = ResourceTablesOf(module);
    for (std::size_t i = 0; i < tables->stringCount; ++i) {
        if (tables->strings[i].id == id)
            return QString::fromUtf16(tables->strings[i].text);
    }
    return {};
}

QString LoadResString(UINT id)
{
    return LoadResString(AfxGetResourceHandle(), id);
}
