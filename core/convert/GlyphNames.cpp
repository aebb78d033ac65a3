#include "core/convert/GlyphNames.h"
#include "core/model/PictureName.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace tessaldo {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// Surrogates stand for no character of their own: no font has a glyph for one.
bool IsScalarValue(char32_t codePoint)
{
    return codePoint <= kLastCodePoint && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

} // namespace

std::string CodePointName(char32_t codePoint)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

std::filesystem::path CharacterFileName(char32_t codePoint, PictureSize size)
{
    return PictureFileName(CodePointName(codePoint), size);
}

std::optional<char32_t> CodePointOfName(std::string_view name)
{
    if (name.size() < 6 || name.size() > 8 || name[0] != 'U' || (name[1] != '_' && name[1] != '+'))
        return std::nullopt;
    const std::string_view digits = name.substr(2);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc{} || end != digits.data() + digits.size() || !IsScalarValue(value))
        return std::nullopt;
    return static_cast<char32_t>(value);
}

} // namespace tessaldo
