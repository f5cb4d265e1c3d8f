#include "TagListing.h"

#include "RuntimeClient.h"
#include "ToolkitState.h"

bool VtListTags(std::vector<VtTagInfo>& tags, QString& reason)
{
    tags.clear();
    VtConnection* c = ToolkitState::Instance().Active();
    if (!ToolkitState::Instance().Started() || !c || c->IsLost()) {
        reason = QStringLiteral("no runtime is connected");
        return false;
    }
    std::vector<TagEntry> entries;
    if (!RuntimeClient(*c).ListTags(entries, reason))
        return false;
    tags.reserve(entries.size());
    for (const TagEntry& e : entries)
        tags.push_back({e.name, RuntimeValue::TypeName(e.type), e.value.ToText(), e.quality, e.writable});
    return true;
}
