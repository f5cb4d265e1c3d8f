#include "CompiledExpression.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t kMarker = 0x56545058; // "VTPX"

struct Header
{
    std::uint32_t marker;
    std::uint32_t length; // UTF-16 characters that follow
};

} // namespace

bool CompiledExpression::Store(const QString& text, void* buffer, std::size_t size)
{
    const std::size_t bytes = static_cast<std::size_t>(text.size()) * sizeof(char16_t);
    if (!buffer || size < sizeof(Header) || bytes > size - sizeof(Header))
        return false;
    const Header header = {kMarker, static_cast<std::uint32_t>(text.size())};
    auto* out = static_cast<unsigned char*>(buffer);
    std::memcpy(out, &header, sizeof header);
    std::memcpy(out + sizeof header, text.utf16(), bytes);
    return true;
}

bool CompiledExpression::Load(const void* buffer, std::size_t size, QString& text)
{
    if (!buffer || size < sizeof(Header))
        return false;
    Header header;
    const auto* in = static_cast<const unsigned char*>(buffer);
    std::memcpy(&header, in, sizeof header);
    if (header.marker != kMarker || header.length > (size - sizeof(Header)) / sizeof(char16_t))
        return false;
    text.resize(header.length);
    std::memcpy(text.data(), in + sizeof header, header.length * sizeof(char16_t));
    return true;
}
