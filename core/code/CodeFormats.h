#pragma once

#include "core/model/BitLayout.h"
#include "core/model/Displays.h"
#include "core/model/DotGrid.h"
#include "core/model/PictureName.h"
#include "core/platform/Result.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// The character that starts at `at` in UTF-8, `at` moved past it; nothing,
// and `at` moved one byte on, for a byte that starts no character.
std::optional<char32_t> DecodeUtf8(std::string_view bytes, std::size_t &at);
// The character in UTF-8.
std::string EncodeUtf8(char32_t character);

// The forms the picture's code can take besides the Run text.
enum class CodeFormat {
    Ccs, // the two printf statements, exactly as Run writes them
    C,   // one array of the 33 bytes, for any C or C++ compiler
    Raw, // the 33 bytes themselves
    // The arrays the libraries of other displays draw, of the picture as the window shows it:
    Xbm,   // an X BitMap, as X11 writes it (u8g2's drawXBM)
    Gfx,   // a PROGMEM array for Adafruit GFX's drawBitmap, with its width and height
    Pages, // the pages of eight rows SSD1306, SH1106, ST7565 and PCD8544 displays take
    Tiles, // u8x8's tiles of 8 x 8 dots, row by row
};
// "ccs", "c", "raw", "xbm", "gfx", "pages", "u8x8"
std::string_view CodeFormatName(CodeFormat format);
std::optional<CodeFormat> CodeFormatFromName(std::string_view name);
// The forms "Copy as C Array" can copy the picture in, the module's first.
inline constexpr std::array kArrayForms{CodeFormat::C, CodeFormat::Xbm, CodeFormat::Gfx, CodeFormat::Pages};
// The caption of the command that picks an array form, which also names the
// form where a layout is guessed.
constexpr std::string_view ArrayFormCaption(CodeFormat form)
{
    switch (form) {
    case CodeFormat::Xbm:
        return "XBM for u8g2";
    case CodeFormat::Gfx:
        return "Adafruit GFX drawBitmap";
    case CodeFormat::Pages:
        return "SSD1306 Pages";
    case CodeFormat::Tiles:
        return "u8x8 Tiles";
    case CodeFormat::Ccs:
    case CodeFormat::C:
    case CodeFormat::Raw:
        break;
    }
    return "Module C Array";
}
// The form `form` gives way to for a picture of another size than 16 x 16,
// which the module does not take: its forms become SSD1306 pages, the rest stay.
constexpr CodeFormat SizedArrayForm(CodeFormat form)
{
    const bool module = form == CodeFormat::C || form == CodeFormat::Ccs || form == CodeFormat::Raw;
    return module ? CodeFormat::Pages : form;
}
// The order `form` writes the picture's dots in; the module's for its three forms.
BitLayout LayoutOfForm(CodeFormat form);
// The form that writes a display's frame buffer in the order its controller
// or library takes: the module's array, Adafruit GFX's rows (e-paper and
// memory LCDs), SSD1306 pages or u8x8 tiles.
CodeFormat FormOfDisplay(const Display &display);
// The form that writes `layout`: the module's array for the module's.
CodeFormat FormOfLayout(BitLayout layout);
// The form a remembered name stands for; nullopt for a name of no such form.
std::optional<CodeFormat> ArrayFormFromName(std::string_view name);

// The array name a drawing file gives: its stem, each run of other characters
// than letters, digits and '_' made one '_', those '_' dropped at either end,
// "picture" for nothing left, and "lcd_" before a digit or a keyword; cut to
// kMaxNameLength.
std::string NameFromFileName(const std::filesystem::path &file);

// The name with its letters A to Z made a to z: what names that some file
// systems take for one are the same in.
std::string LowerCase(std::string name);

// A picture with the name of its array and the file it came from.
struct NamedPicture {
    DotGrid grid;
    std::string name;
    std::string source; // the file's name as the user gave it; "" for standard input
};

// `static const unsigned char NAME[33] = { 0xA4, ... };` behind a comment
// that says what the bytes are and where they came from; ends with a newline.
std::string CArray(const NamedPicture &picture);

// Lets an array be put in program memory where Arduino's AVR core defines
// PROGMEM, and compile unchanged on any other compiler.
inline constexpr const char *kProgmemWherever = "#ifndef PROGMEM\n#define PROGMEM\n#endif\n";

// An X BitMap of the picture as the window shows it, as X11 writes one:
// NAME_width, NAME_height and NAME_bits; ends with a newline.
std::string XbmText(const DotGrid &grid, std::string_view name);

// The picture's code in `format`: what `code --format` prints and "Copy as C
// Array" copies. The arrays are named and commented as CArray's is, and the
// other displays' arrays are as wide and high as the picture. The module's
// forms (ccs, c, raw) refuse a picture of another size than 16 x 16.
Result<std::string> PictureCode(const NamedPicture &picture, CodeFormat format);

// The 33 bytes, eight to a line after the command, each line indented.
std::string ByteLines(const DotGrid &grid, const std::string &indent);
// The bytes of the picture in `layout` at its size (LayoutByteCount of them),
// eight to a line, each line indented.
std::string LayoutByteLines(const DotGrid &grid, BitLayout layout, const std::string &indent);

// One header: a first line naming the command that made it, then an include
// guard made from `guardSource` around the declarations.
std::string Guarded(const std::string &declarations, std::string_view command, std::string_view guardSource);
// The include guard Guarded makes from `source`: icons.h gives ICONS_H.
std::string IncludeGuard(std::string_view source);

} // namespace tessaldo
