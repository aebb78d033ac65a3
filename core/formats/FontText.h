#pragma once

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

} // namespace tessaldo
