#pragma once

#include "core/formats/U8g2Font.h"
#include "core/model/BitmapFont.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Only the glyphs a sketch's text draws, so that a status line in Korean
// costs the bytes of its own syllables rather than of all 11,172.
namespace tessaldo {

// The characters a UTF-8 text draws, each once, in code point order: line
// breaks, tabs and bytes that start no character draw none.
std::vector<char32_t> TextCharacters(std::string_view text);

struct TextGlyphs {
    std::vector<std::optional<char32_t>> chosen; // for each of the font's glyphs, as ChooseGlyphs gives it
    std::string missing; // the sentence naming each character the font has no glyph for, "" when it has all
};
TextGlyphs ChooseGlyphsForText(const BitmapFont &font, std::string_view text);

// The sentence naming what a glyph map asks for that the font lacks, "" when
// it lacks nothing: each single code it has no glyph for, and each range it
// has no glyph in at all (a range asks for what the font holds in it).
std::string GlyphsMissingFromMap(const BitmapFont &font, const std::vector<GlyphRange> &map);

} // namespace tessaldo
