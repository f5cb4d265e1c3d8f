#include "TagReference.h"

std::uint32_t TagReference::Check(std::uint32_t generation, std::uint32_t id)
{
    return (generation * 0x9E3779B1u) ^ (id * 0x85EBCA77u) ^ 0x56545452u;
}

TagRef TagReference::Make(std::uint32_t generation, std::uint32_t id)
{
    return TagRef{{generation, id, Check(generation, id)}};
}

std::int64_t TagReference::IdOf(const TagRef* ref, std::uint32_t generation)
{
    if (!ref || ref->words[0] != generation || ref->words[2] != Check(generation, ref->words[1]))
        return -1;
    return ref->words[1];
}
