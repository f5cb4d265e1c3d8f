#pragma once

#include "runtime/VantelToolkit.h"

#include <cstdint>

// Packs a resolved tag into the program's 12-byte TagRef: the connection it
// was resolved on, the runtime's tag id, and a check word, so that a reference
// from another connection or an unfilled one is refused rather than used.
class TagReference
{
public:
    static TagRef Make(std::uint32_t generation, std::uint32_t id);
    // The tag id, or -1 when the reference does not belong to `generation`.
    static std::int64_t IdOf(const TagRef* ref, std::uint32_t generation);

private:
    static std::uint32_t Check(std::uint32_t generation, std::uint32_t id);
};
