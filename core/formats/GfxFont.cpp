#include "core/formats/GfxFont.h"

#include "core/code/CodeLexer.h"
#include "core/convert/GlyphNames.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace tessaldo {
namespace {

constexpr std::size_t kBytesPerLine = 12;
// GFX's bitmap offsets are 16 bits wide.
constexpr std::size_t kLargestBitmap = 0x10000;
// The bytes a glyph's table row takes, and the GFXfont itself, on the controllers GFX runs on.
constexpr std::size_t kGlyphBytes = 7;
constexpr std::size_t kFontBytes = 7;

std::string Printf(const char *format, auto... values)
{
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// A C integer's value, decimal or hex, its u and l suffixes aside; nothing
// for any other number.
std::optional<long> NumberValue(std::string_view text)
{
    while (!text.empty() && std::string_view("uUlL").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    text.remove_prefix(hex ? 2 : 0);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, hex ? 16 : 10);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The numbers of a declaration's initialiser, from its '{' to the '}' that
// closes it, each with its sign; nothing where no '{' follows.
std::optional<std::vector<long>> Initialiser(Lexer &lexer)
{
    std::optional<Token> token;
    while ((token = lexer.Next()) && !IsPunctuation(*token, '{'))
        if (IsPunctuation(*token, ';'))
            return std::nullopt;
    std::vector<long> numbers;
    int depth = 1;
    bool negative = false;
    while (depth > 0 && (token = lexer.Next())) {
        depth += IsPunctuation(*token, '{') ? 1 : IsPunctuation(*token, '}') ? -1 : 0;
        if (token->kind == TokenKind::Number) {
            const std::optional<long> value = NumberValue(token->text);
            if (!value)
                return std::nullopt;
            numbers.push_back(negative ? -*value : *value);
        }
        negative = IsPunctuation(*token, '-');
    }
    if (depth > 0)
        return std::nullopt;
    return numbers;
}

bool SameDrawing(const BitmapGlyph &a, const BitmapGlyph &b)
{
    return a.advance == b.advance && a.box == b.box && a.dots == b.dots;
}

bool Printable(char32_t code)
{
    return code > ' ' && code < 0x7F;
}

// Whether the table's entry stands in for a code the font lacks, as
// BuildGfxFont and fontconvert fill every code from first to last: with no
// box and no advance, or with a copy of the default character, drawn at
// every such code. A glyph drawn at several codes is the font's own where it
// is a printable ASCII character that only Latin-1's upper half repeats, as
// small fonts draw À as A. A lone copy cannot be told from a glyph.
bool IsFiller(const BitmapGlyph &entry, const std::vector<BitmapGlyph> &entries)
{
    if (entry.box.width == 0 || entry.box.height == 0)
        return entry.advance == 0;
    if (std::none_of(entry.dots.begin(), entry.dots.end(), [](std::uint8_t dot) { return dot != 0; }))
        return false;
    std::vector<char32_t> codes;
    for (const BitmapGlyph &other : entries)
        if (SameDrawing(entry, other))
            codes.push_back(other.codePoint);
    return codes.size() > 1 && !(Printable(codes[0]) && codes[1] >= 0xA0);
}

// The GFXfont's yAdvance, by which println moves down a line: the font's own
// line height where it has one; else, as fontconvert copies it from a BDF,
// the first glyph's height, unless that is 0 (a blank first glyph shrunk to
// nothing), for with 0 every line is drawn over the last: the ascent and
// descent then, or the dots' reach where the font gives neither.
int LineHeight(const BitmapFont &font, int firstHeight)
{
    if (font.lineHeight.value_or(0) > 0)
        return *font.lineHeight;
    if (firstHeight > 0)
        return firstHeight;
    if (font.ascent + font.descent > 0)
        return font.ascent + font.descent;
    BitmapFont reach = font;
    SetAscentAndDescentFromDots(reach);
    return reach.ascent + reach.descent;
}

} // namespace

Result<GfxFont> BuildGfxFont(const BitmapFont &font, char32_t first, char32_t last)
{
    if (last > 0xFF)
        return Result<GfxFont>::Failed(
            "Adafruit GFX's GFXfont holds characters up to 255 only, as GFX reads them as bytes, and this font "
            "reaches "
            + CodePointName(last) + ": write u8g2's font format, which takes any code point, for drawUTF8.");
    if (first > last)
        return Result<GfxFont>::Failed("The GFXfont's first character " + CodePointName(first)
                                       + " comes after its last " + CodePointName(last) + ".");
    GfxFont gfx;
    gfx.first = first;
    gfx.last = last;
    for (char32_t code = first; code <= last; ++code) {
        const BitmapGlyph *glyph = font.Find(code);
        if (glyph == nullptr && font.defaultCharacter)
            glyph = font.Find(*font.defaultCharacter);
        GfxGlyph row{static_cast<unsigned>(gfx.bitmap.size())};
        if (glyph != nullptr) {
            row = {row.bitmapOffset, glyph->box.width, glyph->box.height,
                   glyph->advance,   glyph->box.x,     1 - glyph->box.y - glyph->box.height};
            std::size_t bit = 0;
            for (const std::uint8_t dot : glyph->dots) {
                if (bit % 8 == 0)
                    gfx.bitmap.push_back(0);
                if (dot != 0)
                    gfx.bitmap.back() |= static_cast<std::uint8_t>(0x80U >> (bit % 8));
                ++bit;
            }
        }
        gfx.glyphs.push_back(row);
    }
    if (gfx.bitmap.size() > kLargestBitmap)
        return Result<GfxFont>::Failed("The GFXfont's glyphs take " + std::to_string(gfx.bitmap.size())
                                       + " bytes, more than the 65,536 GFX can reach: choose fewer glyphs.");
    gfx.yAdvance = LineHeight(font, gfx.glyphs.front().height);
    return Result<GfxFont>::Ok(std::move(gfx));
}

std::string FormatGfxFont(const GfxFont &font, std::string_view name)
{
    const std::string id(name);
    std::string text = "const uint8_t " + id + "Bitmaps[] PROGMEM = {\n";
    for (std::size_t i = 0; i < font.bitmap.size(); ++i)
        text += (i % kBytesPerLine == 0 ? "  " : " ") + Printf("0x%02X", font.bitmap[i])
                + (i + 1 == font.bitmap.size()    ? " };\n\n"
                   : (i + 1) % kBytesPerLine == 0 ? ",\n"
                                                  : ",");
    text += "const GFXglyph " + id + "Glyphs[] PROGMEM = {\n";
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        const GfxGlyph &glyph = font.glyphs[i];
        const unsigned code = font.first + static_cast<unsigned>(i);
        text += Printf("  { %5u, %3d, %3d, %3d, %4d, %4d }", glyph.bitmapOffset, glyph.width, glyph.height,
                       glyph.xAdvance, glyph.xOffset, glyph.yOffset)
                + (i + 1 == font.glyphs.size() ? " }; " : ",   ") + Printf("// 0x%02X", code)
                + (code >= ' ' && code <= '~' ? Printf(" '%c'", static_cast<char>(code)) : "") + "\n";
    }
    text += "\nconst GFXfont " + id + " PROGMEM = {\n  (uint8_t  *)" + id + "Bitmaps,\n  (GFXglyph *)" + id
            + "Glyphs,\n  " + Printf("0x%02X, 0x%02X, %d };\n\n", font.first, font.last, font.yAdvance) + "// Approx. "
            + std::to_string(font.bitmap.size() + kGlyphBytes * font.glyphs.size() + kFontBytes) + " bytes\n";
    return text;
}

Result<GfxFont> ReadGfxFont(std::string_view source)
{
    Lexer lexer(source);
    GfxFont font;
    std::optional<std::vector<long>> bitmap;
    std::optional<std::vector<long>> glyphs;
    std::optional<std::vector<long>> values;
    std::string_view type;
    while (const std::optional<Token> token = lexer.Next()) {
        if (token->kind != TokenKind::Identifier) {
            type = {};
            continue;
        }
        if (type == "uint8_t" && !bitmap)
            bitmap = Initialiser(lexer);
        else if (type == "GFXglyph" && !glyphs)
            glyphs = Initialiser(lexer);
        else if (type == "GFXfont" && !values)
            values = Initialiser(lexer);
        type = token->text;
    }
    const auto failed = [](const std::string &what) {
        return Result<GfxFont>::Failed("The GFX header is cut short or incomplete: " + what + ".");
    };
    if (!bitmap || !glyphs || !values) {
        std::string missing;
        for (const auto &[part, name] : {std::pair(bitmap.has_value(), "uint8_t bitmap array"),
                                         {glyphs.has_value(), "GFXglyph table"},
                                         {values.has_value(), "GFXfont"}})
            if (!part)
                missing += (missing.empty() ? "" : " and ") + std::string("its ") + name;
        return failed("it lacks " + missing);
    }
    if (values->size() != 3 || glyphs->size() % 6 != 0 || (*values)[1] < (*values)[0]
        || glyphs->size() / 6 != static_cast<std::size_t>((*values)[1] - (*values)[0] + 1))
        return failed("its GFXfont's first and last characters do not match the rows of its glyph table");
    for (const long byte : *bitmap)
        font.bitmap.push_back(static_cast<std::uint8_t>(byte));
    for (std::size_t i = 0; i < glyphs->size(); i += 6) {
        const auto at = [&glyphs, i](std::size_t field) { return static_cast<int>((*glyphs)[i + field]); };
        font.glyphs.push_back({static_cast<unsigned>(at(0)), at(1), at(2), at(3), at(4), at(5)});
        const std::size_t bits = static_cast<std::size_t>(at(1)) * static_cast<std::size_t>(at(2));
        if (at(1) < 0 || at(2) < 0 || font.glyphs.back().bitmapOffset + (bits + 7) / 8 > font.bitmap.size())
            return failed("a glyph of its table reaches past the end of its bitmap");
    }
    font.first = static_cast<unsigned>((*values)[0]);
    font.last = static_cast<unsigned>((*values)[1]);
    font.yAdvance = static_cast<int>((*values)[2]);
    return Result<GfxFont>::Ok(std::move(font));
}

BitmapFont GfxFontGlyphs(const GfxFont &font)
{
    std::vector<BitmapGlyph> entries;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        const GfxGlyph &gfx = font.glyphs[i];
        BitmapGlyph glyph{font.first + static_cast<char32_t>(i),
                          gfx.xAdvance,
                          FontBox{gfx.width, gfx.height, gfx.xOffset, 1 - gfx.yOffset - gfx.height},
                          {}};
        for (std::size_t bit = 0; bit < static_cast<std::size_t>(gfx.width) * static_cast<std::size_t>(gfx.height);
             ++bit)
            glyph.dots.push_back(font.bitmap[gfx.bitmapOffset + bit / 8] >> (7 - bit % 8) & 1U);
        entries.push_back(std::move(glyph));
    }
    BitmapFont glyphs;
    for (const BitmapGlyph &glyph : entries)
        if (!IsFiller(glyph, entries))
            glyphs.glyphs.push_back(glyph);
    SetAscentAndDescentFromDots(glyphs);
    if (font.yAdvance > 0)
        glyphs.lineHeight = font.yAdvance;
    return glyphs;
}

} // namespace tessaldo
