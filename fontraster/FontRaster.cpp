#include "fontraster/FontRaster.h"

#include "core/convert/GlyphNames.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

namespace tessaldo {
namespace {

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<FT_LibraryRec_, LibraryDone>;
using Face = std::unique_ptr<FT_FaceRec_, FaceDone>;

// Dots `units` of the font's design hold at its pixel size, cut towards
// zero, as otf2bdf scales the font's ascent and descent: in whole numbers,
// not by FreeType's rounded scale, which gives DejaVu Sans Mono at 14 pixels
// an ascent of 13 where otf2bdf gives 12.
int WholeDots(const FT_Face face, long units)
{
    return static_cast<int>(units * face->size->metrics.y_ppem / face->units_per_EM);
}

// The font's X name (XLFD), its fields as otf2bdf fills them.
std::string XlfdName(const FT_Face face, int pixelSize)
{
    std::string family = face->family_name ? face->family_name : "FreeType";
    for (char &c : family)
        if (c == '-')
            c = ' ';
    const std::string size = std::to_string(pixelSize);
    return "-FreeType-" + family + "-" + ((face->style_flags & FT_STYLE_FLAG_BOLD) ? "Bold" : "Medium") + "-"
           + ((face->style_flags & FT_STYLE_FLAG_ITALIC) ? "I" : "R") + "-Normal--" + size + "-" + size
           + "0-72-72-P-0-ISO10646-1";
}

// The font's copyright notice as its Unicode names give it, in UTF-8, each
// line break a space; "" where it gives none.
std::string Copyright(const FT_Face face)
{
    for (FT_UInt i = 0, count = FT_Get_Sfnt_Name_Count(face); i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != TT_NAME_ID_COPYRIGHT
            || name.platform_id != TT_PLATFORM_MICROSOFT || name.encoding_id != TT_MS_ID_UNICODE_CS)
            continue;
        std::string text;
        for (FT_UInt at = 0; at + 1 < name.string_len; at += 2) {
            // UTF-16, big-endian; the halves of a pair, for characters no notice uses, are left out.
            const unsigned unit = (unsigned{name.string[at]} << 8) | name.string[at + 1];
            if (unit < 0x20)
                text += ' ';
            else if (unit < 0x80)
                text += static_cast<char>(unit);
            else if (unit < 0x800)
                text += {static_cast<char>(0xC0 | (unit >> 6)), static_cast<char>(0x80 | (unit & 0x3F))};
            else if (unit < 0xD800 || unit > 0xDFFF)
                text += {static_cast<char>(0xE0 | (unit >> 12)), static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
                         static_cast<char>(0x80 | (unit & 0x3F))};
        }
        return text;
    }
    return {};
}

// The glyph FreeType has just drawn in black and white.
BitmapGlyph GlyphOf(const FT_GlyphSlot slot, char32_t codePoint)
{
    const FT_Bitmap &bitmap = slot->bitmap;
    BitmapGlyph glyph;
    glyph.codePoint = codePoint;
    glyph.advance = static_cast<int>((slot->advance.x + 32) / 64);
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    glyph.dots.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
    int firstInked = rows;
    int lastInked = -1;
    for (int row = 0; row < rows; ++row) {
        const unsigned char *line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (int column = 0; column < width; ++column) {
            const bool set = ((line[column / 8] >> (7 - column % 8)) & 1) != 0;
            glyph.dots.push_back(set ? 1 : 0);
            if (set) {
                firstInked = std::min(firstInked, row);
                lastInked = row;
            }
        }
    }
    // otf2bdf, having cut the blank rows off a glyph's top and bottom, sets
    // its dots on the bitmap's bottom raised by the rows cut from the top:
    // a glyph FreeType leaves a blank row above or below sits a row lower or
    // higher there. The same here, so that a font made from TrueType has
    // the dots of one made through otf2bdf, which people's fonts come from.
    // A blank glyph, a space, has no box at all there.
    if (lastInked < 0) {
        glyph.dots.clear();
        return glyph;
    }
    const int shift = firstInked - (rows - 1 - lastInked);
    glyph.box = {width, rows, slot->bitmap_left, slot->bitmap_top - rows + shift};
    return Reduced(glyph);
}

} // namespace

Result<BitmapFont> RasteriseFont(std::string_view bytes, int pixelSize, const std::function<bool(char32_t)> &wanted,
                                 std::string_view file)
{
    using Rasterised = Result<BitmapFont>;
    const auto refused = [file](const std::string &reason) {
        return Rasterised::Failed("Cannot import \"" + std::string(file) + "\": " + reason + ".");
    };
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return refused("FreeType cannot start");
    const Library ownedLibrary(library);
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(bytes.data()), static_cast<FT_Long>(bytes.size()),
                           0, &face)
        != 0)
        return refused("it is no TrueType or OpenType font FreeType reads");
    const Face ownedFace(face);
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0)
        return refused("it maps no Unicode characters to its glyphs");
    // Points at 72 dots an inch are pixels, as otf2bdf -p PX -r 72 sets them.
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(pixelSize) * 64, 72, 72) != 0)
        return refused("it has no glyphs at " + std::to_string(pixelSize) + " pixels");
    BitmapFont font;
    font.name = XlfdName(face, pixelSize);
    font.copyright = Copyright(face);
    // The horizontal header's, as otf2bdf takes them; FreeType's own where a font lacks one.
    const auto *header = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    font.ascent = WholeDots(face, header != nullptr ? header->Ascender : face->ascender);
    font.descent = -WholeDots(face, header != nullptr ? header->Descender : face->descender);
    // A line's height as Adafruit's fontconvert gives it as the GFXfont's yAdvance.
    font.lineHeight = static_cast<int>(face->size->metrics.height >> 6);
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0; code = FT_Get_Next_Char(face, code, &index)) {
        if (wanted && !wanted(static_cast<char32_t>(code)))
            continue;
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0)
            return refused("FreeType cannot draw its " + CodePointName(static_cast<char32_t>(code)) + " at "
                           + std::to_string(pixelSize) + " pixels");
        font.glyphs.push_back(GlyphOf(face->glyph, static_cast<char32_t>(code)));
    }
    return Rasterised::Ok(std::move(font));
}

} // namespace tessaldo
