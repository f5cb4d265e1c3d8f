// A language library built before the tables grew: only its strings.
#include "res/Resource.h"
#include "res/ResourceTables.h"

#include <cstddef>
#include <cstdint>

namespace {

struct FirstResourceTables
{
    std::uint32_t size;
    const StringResource* strings;
    std::size_t stringCount;
};

constexpr StringResource kStrings[] = {{IDS_HEADER_TAG, u"Étiquette/Expression"}};
constexpr FirstResourceTables kTables = {sizeof(FirstResourceTables), kStrings, 1};

} // namespace

QUILLON_RESOURCE_EXPORT const FirstResourceTables* QuillonResourceTables()
{
    return &kTables;
}
