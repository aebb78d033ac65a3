#pragma once

#include "core/formats/BdfFont.h"
#include "core/formats/U8g2Font.h"
#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which kind of font a file holds, told the same way on every face, and the
// fonts the core reads by itself, each as a BDF of it reads: one reader
// places the glyphs of every kind.
namespace tessaldo {

enum class FontKind { None, Bdf, U8g2, Gfx, TrueType };

// The kind of font `bytes` hold, `fileName` the name they came under: BDF by
// its ending or its first word, TrueType and OpenType by their ending or
// their first four bytes, u8g2 fonts and GFXfonts by the C source that holds
// them, which images never end in. For a C source `bytes` is the whole
// file; for any other, its start suffices.
FontKind FontKindOf(std::string_view fileName, std::string_view bytes);
// Whether a file's name is that of a C source, which may hold a u8g2 font or a GFXfont.
bool IsFontSourceName(std::string_view fileName);
// The same for a file, of which no more is read than telling takes; None
// where it cannot be read.
FontKind FontKindOfFile(const std::filesystem::path &file);

// The largest pixel size a TrueType or OpenType font is drawn at: all of a
// Korean font's 11,000 glyphs drawn at once stay within a gigabyte.
inline constexpr int kMaxFontPixelSize = 128;
// The bytes of a TrueType or OpenType font, up to 64 MiB, which the largest
// collections of Chinese, Japanese and Korean fonts take; too large a file
// is refused as an import names it.
Result<std::string> ReadFontBytes(const std::filesystem::path &file);

// The font `text` holds as `kind` (BDF, u8g2 or GFX) as ReadBdfFont reads
// it: u8g2's and GFX's fonts by way of the BDF that keeps their every
// metric. A failure names `file`.
Result<BdfReading> ReadFont(std::string_view text, FontKind kind, std::string_view file, LcdType type);
// The font, rasterised or built elsewhere, read the same way.
Result<BdfReading> ReadFont(const BitmapFont &font, std::string_view file, LcdType type);

// The notes on a font read in spite of flaws or with glyphs passed over, a
// line each, "" for none.
std::string FontReadingNotes(std::string_view file, const BdfReading &reading);

// The formats a font is written in: BDF for every font tool, u8g2's C
// source, Adafruit GFX's header.
enum class FontFormat { Bdf, U8g2, Gfx };
// The format a file's ending asks for: .c u8g2's, .h a GFXfont, BDF otherwise.
FontFormat FontFormatOfFile(const std::filesystem::path &file);

// The glyphs `chosen` gives a character (as ChooseGlyphs), under that character.
BitmapFont ChosenFont(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen);

// The chosen glyphs as the text of a font file in `format`: `mode` the
// u8g2 font's build mode, `name` its C name or the GFXfont's (unused for
// BDF, which keeps the font's own name). A GFXfont holds every code from the
// lowest chosen to the highest, those the choice leaves out drawn as the
// font's default character, as fontconvert draws a code the font lacks.
Result<std::string> FormatFont(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                               FontFormat format, U8g2Mode mode, std::string_view name);

} // namespace tessaldo
