#include "core/formats/FontText.h"

#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"

#include <algorithm>

namespace tessaldo {

std::vector<char32_t> TextCharacters(std::string_view text)
{
    std::vector<char32_t> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> character = DecodeUtf8(text, at);
        if (character && *character >= ' ' && *character != 0x7F)
            characters.push_back(*character);
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

namespace {

// "A, B and C".
std::string Listed(const std::vector<std::string> &names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// Whether a character shows as itself in a message: controls, spaces and
// the invisible formatting characters do not.
bool Shows(char32_t code)
{
    const auto within = [code](char32_t first, char32_t last) { return first <= code && code <= last; };
    return code > ' ' && !within(0x7F, 0xA0) && code != 0xAD && code != 0x1680 && !within(0x2000, 0x200F)
           && !within(0x2028, 0x202F) && !within(0x205F, 0x206F) && code != 0x3000 && code != 0xFEFF
           && !within(0xD800, 0xDFFF);
}

// "U+B3C4 도": the code point, then the character where it shows.
std::string CharacterNamed(char32_t code)
{
    return CodePointName(code) + (Shows(code) ? " " + EncodeUtf8(code) : "");
}

} // namespace

TextGlyphs ChooseGlyphsForText(const BitmapFont &font, std::string_view text)
{
    const std::vector<char32_t> characters = TextCharacters(text);
    TextGlyphs glyphs;
    std::vector<bool> found(characters.size());
    for (const BitmapGlyph &glyph : font.glyphs) {
        const auto at = std::lower_bound(characters.begin(), characters.end(), glyph.codePoint);
        const bool used = at != characters.end() && *at == glyph.codePoint && !found[at - characters.begin()];
        if (used)
            found[at - characters.begin()] = true;
        glyphs.chosen.push_back(used ? std::optional(glyph.codePoint) : std::nullopt);
    }
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < characters.size(); ++i)
        if (!found[i])
            missing.push_back(CharacterNamed(characters[i]));
    if (!missing.empty())
        glyphs.missing = "The font has no glyph for " + Listed(missing) + ", which the text draws.";
    return glyphs;
}

std::string GlyphsMissingFromMap(const BitmapFont &font, const std::vector<GlyphRange> &map)
{
    std::vector<char32_t> held;
    for (const BitmapGlyph &glyph : font.glyphs)
        held.push_back(glyph.codePoint);
    std::sort(held.begin(), held.end());
    std::vector<std::string> missing;
    for (const GlyphRange &range : map) {
        const auto from = std::lower_bound(held.begin(), held.end(), range.first);
        if (range.leaveOut || (from != held.end() && *from <= range.last))
            continue;
        missing.push_back(range.first == range.last
                              ? CharacterNamed(range.first)
                              : "any of " + CodePointName(range.first) + " to " + CodePointName(range.last));
    }
    if (missing.empty())
        return "";
    return "The font has no glyph for " + Listed(missing) + ", which the glyph map asks for.";
}

} // namespace tessaldo
