#include "Resources.h"

#include "EnglishResources.h"
#include "ResourceTables.h"

#include "platform/ResourceText.h"

#include <QPixmap>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Resource ids are 16-bit, so no table holds more entries than this; a longer
// count from a damaged library is not trusted.
constexpr std::size_t kMaxTableEntries = 0x10000;

// The tables every library carries, from the first version on.
constexpr std::size_t kFirstTablesSize = offsetof(ResourceTables, stringCount) + sizeof(std::size_t);

// Tables of an older library end before the members appended later.
bool Carries(const ResourceTables* tables, std::size_t countOffset)
{
    return tables->size >= countOffset + sizeof(std::size_t);
}

template <typename Entry> const Entry* FindEntry(const Entry* entries, std::size_t count, UINT id)
{
    if (!entries)
        return nullptr;
    const Entry* end = entries + std::min(count, kMaxTableEntries);
    const Entry* found = std::find_if(entries, end, [id](const Entry& entry) { return entry.id == id; });
    return found == end ? nullptr : found;
}

const DialogTemplate* FindDialog(const ResourceTables* tables, UINT id)
{
    return Carries(tables, offsetof(ResourceTables, dialogCount)) ? FindEntry(tables->dialogs, tables->dialogCount, id)
                                                                  : nullptr;
}

const MenuResource* FindMenu(const ResourceTables* tables, UINT id)
{
    return Carries(tables, offsetof(ResourceTables, menuCount)) ? FindEntry(tables->menus, tables->menuCount, id)
                                                                : nullptr;
}

const IconResource* FindIcon(const ResourceTables* tables, UINT id)
{
    return Carries(tables, offsetof(ResourceTables, iconCount)) ? FindEntry(tables->icons, tables->iconCount, id)
                                                                : nullptr;
}

// The module's entry, else the program's own.
template <typename Entry>
const Entry* FindWithFallback(HMODULE module, UINT id, const Entry* (*find)(const ResourceTables*, UINT))
{
    if (const Entry* entry = find(ResourceTablesOf(module), id))
        return entry;
    return find(EnglishResourceTables(), id);
}

} // namespace

const ResourceTables* ResourceTablesOf(HMODULE module)
{
    if (module && module->library) {
        const auto entry = reinterpret_cast<ResourceTablesFunction>(GetProcAddress(module, kResourceTablesSymbol));
        const ResourceTables* tables = entry ? entry() : nullptr;
        if (tables && tables->size >= kFirstTablesSize)
            return tables;
    }
    return EnglishResourceTables();
}

QString LoadResString(HMODULE module, UINT id)
{
    const ResourceTables* tables = ResourceTablesOf(module);
    const StringResource* found = FindEntry(tables->strings, tables->stringCount, id);
    return found ? ResourceText(found->text) : QString();
}

QString LoadResString(UINT id)
{
    return LoadResString(AfxGetResourceHandle(), id);
}

QString FormatResText(const QString& format, const QStringList& arguments)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size() && (format[i + 1] == u's' || format[i + 1] == u'd')) {
            out += next < arguments.size() ? arguments[next++] : QString();
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

QString LoadResTranslation(const char* context, const char* source)
{
    const ResourceTables* tables = ResourceTablesOf(AfxGetResourceHandle());
    if (!context || !source || !Carries(tables, offsetof(ResourceTables, translationCount)) || !tables->translations)
        return {};
    const TranslationResource* end = tables->translations + std::min(tables->translationCount, kMaxTableEntries);
    const TranslationResource* found = std::find_if(tables->translations, end, [&](const TranslationResource& entry) {
        return entry.context && entry.source && std::strcmp(entry.context, context) == 0 &&
               std::strcmp(entry.source, source) == 0;
    });
    return found == end ? QString() : ResourceText(found->text);
}

const DialogTemplate* LoadDialogTemplate(HMODULE module, UINT id)
{
    return FindWithFallback(module, id, &FindDialog);
}

const DialogTemplate* LoadDialogTemplate(UINT id)
{
    return LoadDialogTemplate(AfxGetResourceHandle(), id);
}

const MenuResource* LoadMenuResource(HMODULE module, UINT id)
{
    return FindWithFallback(module, id, &FindMenu);
}

const MenuResource* LoadMenuResource(UINT id)
{
    return LoadMenuResource(AfxGetResourceHandle(), id);
}

QIcon LoadIconResource(HMODULE module, UINT id)
{
    const IconResource* icon = FindWithFallback(module, id, &FindIcon);
    QPixmap pixmap;
    if (!icon || !icon->png || icon->size > std::size_t(std::numeric_limits<int>::max()) ||
        !pixmap.loadFromData(icon->png, uint(icon->size), "PNG"))
        return {};
    return QIcon(pixmap);
}

QIcon LoadIconResource(UINT id)
{
    return LoadIconResource(AfxGetResourceHandle(), id);
}
