#include "core/code/CodeFormats.h"

#include "core/code/CodeGenerator.h"
#include "core/convert/GlyphNames.h"
#include "core/model/BitLayout.h"
#include "core/model/PictureName.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>

namespace tessaldo {
namespace {

constexpr int kBytesPerLine = 8;

constexpr std::array<std::string_view, 7> kFormatNames{"ccs", "c", "raw", "xbm", "gfx", "pages", "u8x8"};
constexpr int kBitsPerByte = 8;

// The bytes a character takes in UTF-8, told by its first; 0 for a byte that starts none.
std::size_t Utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2 || lead >= 0xF5)
        return 0;
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

} // namespace

std::optional<char32_t> DecodeUtf8(std::string_view bytes, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = Utf8Length(lead);
    if (length == 0 || at + length > bytes.size()) {
        ++at;
        return std::nullopt;
    }
    char32_t character = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0U) != 0x80U) {
            ++at;
            return std::nullopt;
        }
        character = (character << 6) | (next & 0x3FU);
    }
    constexpr std::array<char32_t, 5> kSmallestOfLength{0, 0, 0x80, 0x800, 0x10000};
    if (character < kSmallestOfLength.at(length) || character > 0x10FFFF
        || (character >= 0xD800 && character <= 0xDFFF)) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return character;
}

std::string EncodeUtf8(char32_t character)
{
    if (character < 0x80)
        return std::string(1, static_cast<char>(character));
    const std::size_t length = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
    std::string bytes(length, '\0');
    for (std::size_t i = length - 1; i > 0; --i) {
        bytes[i] = static_cast<char>(0x80U | (character & 0x3FU));
        character >>= 6;
    }
    bytes[0] = static_cast<char>(((0xF00U >> length) & 0xFFU) | character);
    return bytes;
}

namespace {

// The next character, a syllable whose jamo are written one by one, as some
// file systems store Korean names, composed into the one syllable they spell.
std::optional<char32_t> NextCharacter(std::string_view bytes, std::size_t &at)
{
    constexpr char32_t kInitials = 0x1100;
    constexpr char32_t kInitialCount = 19;
    constexpr char32_t kMedials = 0x1161;
    constexpr char32_t kFinals = 0x11A7; // one before the first, which stands for none
    constexpr char32_t kMedialCount = 21;
    constexpr char32_t kFinalCount = 28;
    const std::optional<char32_t> character = DecodeUtf8(bytes, at);
    if (!character || *character < kInitials || *character >= kInitials + kInitialCount)
        return character;
    const auto following = [&bytes, &at](char32_t first, char32_t count) -> std::optional<char32_t> {
        std::size_t next = at;
        const std::optional<char32_t> jamo = next < bytes.size() ? DecodeUtf8(bytes, next) : std::nullopt;
        if (!jamo || *jamo < first || *jamo >= first + count)
            return std::nullopt;
        at = next;
        return *jamo - first;
    };
    const std::optional<char32_t> medial = following(kMedials, kMedialCount);
    if (!medial)
        return character;
    const std::optional<char32_t> final = following(kFinals + 1, kFinalCount - 1);
    return 0xAC00 + ((*character - kInitials) * kMedialCount + *medial) * kFinalCount + (final ? *final + 1 : 0);
}

// A Hangul syllable in Latin letters by the Revised Romanization of Korean,
// letter by letter: its initial, medial and final jamo follow by arithmetic
// from its code point, and a final consonant is written as it sounds at the
// end of a word (ㄱ k, ㄷ t, ㅂ p, ㄹ l). The rules that join syllables (신라
// silla) are left out: a name needs to be readable and stable, not spoken.
// Empty for any other character.
std::string RomanizedSyllable(char32_t character)
{
    constexpr char32_t kFirst = 0xAC00;
    constexpr char32_t kLast = 0xD7A3;
    constexpr char32_t kMedials = 21;
    constexpr char32_t kFinals = 28;
    static constexpr std::array<std::string_view, 19> kInitial{"g",  "kk", "n", "d",  "tt", "r", "m", "b", "pp", "s",
                                                               "ss", "",   "j", "jj", "ch", "k", "t", "p", "h"};
    static constexpr std::array<std::string_view, kMedials> kMedial{"a",  "ae", "ya", "yae", "eo", "e",  "yeo",
                                                                    "ye", "o",  "wa", "wae", "oe", "yo", "u",
                                                                    "wo", "we", "wi", "yu",  "eu", "ui", "i"};
    static constexpr std::array<std::string_view, kFinals> kFinal{"",  "k",  "k", "k", "n", "n", "n", "t", "l", "k",
                                                                  "m", "l",  "l", "l", "p", "l", "m", "p", "p", "t",
                                                                  "t", "ng", "t", "t", "k", "t", "p", "t"};
    if (character < kFirst || character > kLast)
        return {};
    const char32_t index = character - kFirst;
    return std::string(kInitial.at(index / (kMedials * kFinals))) + std::string(kMedial.at(index / kFinals % kMedials))
           + std::string(kFinal.at(index % kFinals));
}

// Whether a character beyond ASCII is part of a word rather than a mark or a
// space between words: punctuation, symbols and spaces of the ranges file
// names hold separate words, as ASCII's do (its letters and digits are kept
// before this is asked).
bool IsLetterOrDigit(char32_t character)
{
    const bool punctuation =
        (character >= 0x2000 && character <= 0x2BFF) || (character >= 0x3000 && character <= 0x303F)
        || (character >= 0xFF00 && character <= 0xFF0F) || (character >= 0xFE30 && character <= 0xFE4F)
        || (character >= 0x80 && character <= 0xBF) || character == 0xD7 || character == 0xF7;
    return character >= 0x80 && !punctuation;
}

// U_00E9: the character as a name, as a set names a glyph of a font.
std::string CodePointIdentifier(char32_t character)
{
    std::string name = CodePointName(character);
    name[1] = '_';
    return name;
}

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// A set of a thousand pictures is 33,000 of these: no formatted printing.
void AppendHex(std::string &text, unsigned byte, std::string_view digits = kHexDigits)
{
    text += "0x";
    text += digits[(byte >> 4) & 0xF];
    text += digits[byte & 0xF];
}

// `bytes` `perLine` to a line, each line indented, a comma after every byte but the last.
void AppendLines(std::string &text, std::span<const std::uint8_t> bytes, const std::string &indent,
                 std::size_t perLine = kBytesPerLine, std::string_view digits = kHexDigits)
{
    text.reserve(text.size() + bytes.size() * (indent.size() + 6)); // "0x00, " at most, and a line's indent
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 0)
            text += indent;
        else if (i % perLine == 0)
            (text += ",\n") += indent;
        else
            text += ", ";
        AppendHex(text, bytes[i], digits);
    }
}

// Text that may stand inside a C comment: printable characters of valid
// UTF-8, a file's Korean name included, and never the end of the comment.
// Control characters and bytes of no character become '?'.
std::string CommentSafe(std::string_view text)
{
    std::string safe;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> character = DecodeUtf8(text, at);
        const bool printable =
            character && *character >= U' ' && *character != U'\x7F' && (*character < U'\x80' || *character >= U'\xA0');
        if (text[start] == '/' && !safe.empty() && safe.back() == '*')
            safe += ' ';
        if (printable)
            safe.append(text.substr(start, at - start));
        else
            safe += '?';
    }
    return safe;
}

// "NAME, from FILE", what each array's comment begins with.
std::string Origin(const NamedPicture &picture)
{
    const std::string from = picture.source.empty() ? "standard input" : CommentSafe(picture.source);
    return CommentSafe(picture.name) + ", from " + from;
}

// "one byte", "two bytes", "11 bytes": how the comments count bytes.
std::string ByteCount(int count)
{
    return count == 1 ? "one byte" : count == 2 ? "two bytes" : std::to_string(count) + " bytes";
}

std::string Define(const std::string &name, std::string_view what, int value)
{
    return "#define " + name + std::string(what) + " " + std::to_string(value) + "\n";
}

// The bytes, pages or tiles `dots` take along one side, the last one padded.
int WholeBytes(int dots)
{
    return (dots + kBitsPerByte - 1) / kBitsPerByte;
}

// How many clear dots pad the last byte, page or tile along a side: 0 to 7.
int PaddingDots(int side)
{
    return WholeBytes(side) * kBitsPerByte - side;
}

std::string ArrayLines(const NamedPicture &picture, BitLayout layout)
{
    std::string text = "[";
    text += std::to_string(LayoutByteCount(layout, picture.grid.Size()));
    text += "] = {\n";
    text += LayoutByteLines(picture.grid, layout, "    ");
    return text + "\n};\n";
}

// The arrays for other displays stay in flash on AVR, where RAM is a few
// kilobytes; elsewhere, a plain compiler included, PROGMEM means nothing and
// is defined away. `defines` stand between the guard and the array.
std::string InProgramMemory(const NamedPicture &picture, BitLayout layout, const std::string &defines)
{
    return kProgmemWherever + defines + "static const unsigned char PROGMEM " + picture.name
           + ArrayLines(picture, layout);
}

// What the comments of the pages and tiles add: their libraries read RAM.
constexpr std::string_view kCopiedFromFlash =
    "\n   On AVR the bytes stay in flash: copy them out with memcpy_P from\n   <avr/pgmspace.h>.";

// Adafruit GFX's drawBitmap reads the bytes from flash with pgm_read_byte on
// AVR, so they must be put there. Its rows take whole bytes, as
// drawBitmap counts (w + 7) / 8 of them a row; its examples name the size
// with defines beside the array.
std::string GfxArray(const NamedPicture &picture)
{
    const std::string &name = picture.name;
    const PictureSize size = picture.grid.Size();
    const int padding = PaddingDots(size.width);
    const std::string padded =
        padding == 0 ? "" : "\n   The last " + std::to_string(padding) + " bits of each row are clear padding.";
    return "/* " + Origin(picture) + ": " + PictureSizeText(size)
           + " dots for Adafruit GFX,\n   display.drawBitmap(x, y, " + name + ", " + name + "_WIDTH, " + name
           + "_HEIGHT, color);\n   rows top to bottom, " + ByteCount(WholeBytes(size.width))
           + " a row, the leftmost dot in bit 7." + padded
           + " On AVR\n   outside Arduino, include <avr/pgmspace.h> first. */\n"
           + InProgramMemory(picture, BitLayout::Rows,
                             Define(name, "_WIDTH", size.width) + Define(name, "_HEIGHT", size.height));
}

// Page by page as the display's memory holds them, which its driver copies
// as they are: Adafruit's SSD1306 and PCD8544 drivers keep dot (x, y) in bit
// y % 8 of byte x + y / 8 * width of their buffer. The defines say the size
// at 16 x 16 too, where 32 bytes would otherwise pass for the module's.
std::string PagesArray(const NamedPicture &picture)
{
    const std::string &name = picture.name;
    const PictureSize size = picture.grid.Size();
    const int pages = WholeBytes(size.height);
    const int padding = PaddingDots(size.height);
    const std::string padded =
        padding == 0 ? "" : "\n   The last page's bottom " + std::to_string(padding) + " rows are clear padding.";
    return "/* " + Origin(picture) + ": " + PictureSizeText(size)
           + " dots for SSD1306, SH1106,\n   ST7565 and PCD8544 displays, page by page: " + std::to_string(pages)
           + " pages of eight rows,\n   top to bottom, each " + name
           + "_WIDTH bytes, a byte a column from the left, its top\n   dot in bit 0: dot (x, y) is bit y % 8 of byte x "
             "+ y / 8 * "
           + name + "_WIDTH." + padded + std::string(kCopiedFromFlash) + " */\n"
           + InProgramMemory(picture, BitLayout::Pages,
                             Define(name, "_WIDTH", size.width) + Define(name, "_HEIGHT", size.height)
                                 + Define(name, "_PAGES", pages));
}

// u8x8 draws a row of tiles from one pointer (drawTile's cnt tiles, eight
// bytes each, left to right), so the tiles go row by row. Its tile_ptr is not
// const and its display's size is counted in tiles, as tile_width and
// tile_height.
std::string TilesArray(const NamedPicture &picture)
{
    const std::string &name = picture.name;
    const PictureSize size = picture.grid.Size();
    const int columns = WholeBytes(size.width);
    const int rows = WholeBytes(size.height);
    const bool padded = PaddingDots(size.width) != 0 || PaddingDots(size.height) != 0;
    return "/* " + Origin(picture) + ": " + PictureSizeText(size) + " dots for u8x8, as " + std::to_string(columns)
           + " x " + std::to_string(rows)
           + " tiles of\n   8 x 8 dots, tile rows top to bottom, each row's tiles left to right;\n"
             "   a tile is eight bytes, a byte a column from the left, its top dot in\n   bit 0."
           + (padded ? " Dots of the tiles past the picture's edges are clear." : "")
           + "\n   Tile row r: u8x8.drawTile(x, y + r, " + name + "_TILE_WIDTH,\n       (uint8_t *)" + name + " + r * "
           + name + "_TILE_WIDTH * 8);" + std::string(kCopiedFromFlash) + " */\n"
           + InProgramMemory(picture, BitLayout::Tiles,
                             Define(name, "_WIDTH", size.width) + Define(name, "_HEIGHT", size.height)
                                 + Define(name, "_TILE_WIDTH", columns) + Define(name, "_TILE_HEIGHT", rows));
}

} // namespace

std::string_view CodeFormatName(CodeFormat format)
{
    return kFormatNames.at(static_cast<std::size_t>(format));
}

std::optional<CodeFormat> CodeFormatFromName(std::string_view name)
{
    const auto found = std::find(kFormatNames.begin(), kFormatNames.end(), name);
    if (found == kFormatNames.end())
        return std::nullopt;
    return static_cast<CodeFormat>(found - kFormatNames.begin());
}

BitLayout LayoutOfForm(CodeFormat form)
{
    switch (form) {
    case CodeFormat::Xbm:
        return BitLayout::Xbm;
    case CodeFormat::Gfx:
        return BitLayout::Rows;
    case CodeFormat::Pages:
        return BitLayout::Pages;
    case CodeFormat::Tiles:
        return BitLayout::Tiles;
    default:
        return BitLayout::Module;
    }
}

CodeFormat FormOfDisplay(const Display &display)
{
    return FormOfLayout(display.buffer);
}

CodeFormat FormOfLayout(BitLayout layout)
{
    switch (layout) {
    case BitLayout::Xbm:
        return CodeFormat::Xbm;
    case BitLayout::Rows:
        return CodeFormat::Gfx;
    case BitLayout::Pages:
        return CodeFormat::Pages;
    case BitLayout::Tiles:
        return CodeFormat::Tiles;
    case BitLayout::Module:
        break;
    }
    return CodeFormat::C;
}

std::optional<CodeFormat> ArrayFormFromName(std::string_view name)
{
    const std::optional<CodeFormat> format = CodeFormatFromName(name);
    if (!format || std::find(kArrayForms.begin(), kArrayForms.end(), *format) == kArrayForms.end())
        return std::nullopt;
    return format;
}

std::string NameFromFileName(const std::filesystem::path &file)
{
    const std::u8string stem = file.stem().u8string();
    const std::string_view bytes(reinterpret_cast<const char *>(stem.data()), stem.size());
    std::string name;
    bool inRun = false;
    const auto separate = [&name, &inRun] {
        if (!inRun)
            name += '\x01'; // stands for a '_' this rule made, which may go at either end
        inRun = true;
    };
    for (std::size_t at = 0; at < bytes.size();) {
        if (IsNameChar(bytes[at])) {
            name += bytes[at++];
            inRun = false;
            continue;
        }
        const std::optional<char32_t> character = NextCharacter(bytes, at);
        if (!character) {
            separate();
            continue;
        }
        if (const std::string latin = RomanizedSyllable(*character); !latin.empty()) {
            name += latin;
            inRun = false;
        } else if (IsLetterOrDigit(*character)) {
            separate();
            name += CodePointIdentifier(*character);
            inRun = false;
            separate();
        } else {
            separate();
        }
    }
    if (!name.empty() && name.front() == '\x01')
        name.erase(0, 1);
    if (!name.empty() && name.back() == '\x01')
        name.pop_back();
    std::replace(name.begin(), name.end(), '\x01', '_');
    if (name.empty())
        return "picture";
    if (IsDigit(name.front()) || IsReserved(name))
        name.insert(0, "lcd_");
    name.resize(std::min(name.size(), kMaxNameLength));
    return name;
}

std::string LowerCase(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return name;
}

std::string IncludeGuard(std::string_view source)
{
    std::string guard;
    for (const char c : source)
        guard += IsNameChar(c) ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) : '_';
    guard.erase(0, guard.find_first_not_of('_')); // names that start with '_' and a capital are reserved
    if (guard.empty() || IsDigit(guard.front()))
        guard = "LCD_" + guard;
    return guard;
}

std::string ByteLines(const DotGrid &grid, const std::string &indent)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    std::string text = indent;
    constexpr std::size_t kCharsPerByte = 6; // "0xA4, "
    constexpr std::size_t kLines = 5;
    text.reserve(std::size_t{kModuleByteCount} * kCharsPerByte + kLines * indent.size());
    AppendHex(text, bytes[0]);
    text += ",\n";
    AppendLines(text, std::span(bytes).subspan(1), indent);
    return text;
}

std::string LayoutByteLines(const DotGrid &grid, BitLayout layout, const std::string &indent)
{
    const std::vector<std::uint8_t> bytes = SizedLayoutBytes(grid, layout);
    std::string text;
    constexpr std::size_t kCharsPerByte = 6; // "0xA4, "
    text.reserve(bytes.size() * kCharsPerByte + (bytes.size() / kBytesPerLine + 1) * (indent.size() + 1));
    AppendLines(text, bytes, indent);
    return text;
}

std::string CArray(const NamedPicture &picture)
{
    std::string text = "/* " + Origin(picture)
                       + ": the 33 bytes a serial graphic LCD module takes for one\n"
                         "   16 x 16 picture, the command 0xA4 and then the picture, byte k holding\n"
                         "   dots 8k to 8k+7 with the lowest dot in bit 0. */\n";
    return text + "static const unsigned char " + picture.name + "[" + std::to_string(kModuleByteCount) + "] = {\n"
           + ByteLines(picture.grid, "    ") + "\n};\n";
}

namespace {

// As X11's XWriteBitmapFile writes it, which every XBM reader takes:
// lower-case hex, twelve to a line after three spaces; `declared` stands
// before NAME_bits and `after` after its brackets.
std::string XbmLines(const DotGrid &grid, std::string_view name, std::string_view declared, std::string_view after)
{
    constexpr std::size_t kXbmBytesPerLine = 12;
    std::string text = "#define " + std::string(name) + "_width " + std::to_string(grid.Size().width) + "\n#define "
                       + std::string(name) + "_height " + std::to_string(grid.Size().height) + "\n"
                       + std::string(declared) + std::string(name) + "_bits[]" + std::string(after) + " = {\n";
    AppendLines(text, SizedLayoutBytes(grid, BitLayout::Xbm), "   ", kXbmBytesPerLine, "0123456789abcdef");
    text += "};\n";
    return text;
}

} // namespace

std::string XbmText(const DotGrid &grid, std::string_view name)
{
    return XbmLines(grid, name, "static unsigned char ", "");
}

Result<std::string> PictureCode(const NamedPicture &picture, CodeFormat format)
{
    const bool moduleForm = format == CodeFormat::Ccs || format == CodeFormat::C || format == CodeFormat::Raw;
    if (moduleForm && !IsModuleSize(picture.grid.Size()))
        return Result<std::string>::Failed("Cannot write the module's code: " + NotForTheModule(picture.grid.Size())
                                           + "; the forms xbm, gfx, pages and u8x8 take any size.");
    switch (format) {
    case CodeFormat::Ccs:
        return Result<std::string>::Ok(LCDtoCODE(picture.grid) + "\r\n");
    case CodeFormat::C:
        return Result<std::string>::Ok(CArray(picture));
    case CodeFormat::Raw: {
        const ModuleBytes bytes = PictureModuleBytes(picture.grid);
        return Result<std::string>::Ok({bytes.begin(), bytes.end()});
    }
    case CodeFormat::Xbm: {
        // u8g2 keeps the array in flash with U8X8_PROGMEM, which it defines
        // for every target, and drawXBMP reads it from there.
        const std::string &name = picture.name;
        return Result<std::string>::Ok("/* u8g2.drawXBMP(x, y, " + name + "_width, " + name + "_height, " + name
                                       + "_bits);\n   U8X8_PROGMEM is u8g2's; without u8g2 it means nothing. */\n"
                                         "#ifndef U8X8_PROGMEM\n#define U8X8_PROGMEM\n#endif\n"
                                       + XbmLines(picture.grid, name, "static const unsigned char ", " U8X8_PROGMEM"));
    }
    case CodeFormat::Gfx:
        return Result<std::string>::Ok(GfxArray(picture));
    case CodeFormat::Pages:
        return Result<std::string>::Ok(PagesArray(picture));
    case CodeFormat::Tiles:
        return Result<std::string>::Ok(TilesArray(picture));
    }
    return Result<std::string>::Failed("Cannot write the code: the form is unknown.");
}

std::string Guarded(const std::string &declarations, std::string_view command, std::string_view guardSource)
{
    const std::string guard = IncludeGuard(guardSource);
    return "/* Made by " + CommentSafe(command) + " */\n#ifndef " + guard + "\n#define " + guard + "\n" + declarations
           + "\n#endif /* " + guard + " */\n";
}

} // namespace tessaldo
