#include "core/session/GlyphSet.h"

#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/FontText.h"
#include "core/session/Texts.h"

#include <algorithm>
#include <map>

namespace tessaldo {
namespace {

// How many characters the preview's sample starts with: a line's worth on the smaller displays.
constexpr std::size_t kSampleCharacters = 16;

DotGrid GridOf(const Document &set, const Picture &picture)
{
    DotGrid grid;
    grid.SetLCDType(set.type);
    grid.SetAllDots(picture.dots);
    return grid;
}

// The metrics of a picture BlankGlyph would give for `codePoint`, where the
// edited picture is `model`.
GlyphMetrics PlacedAs(const Picture &model, PictureSize cell, char32_t codePoint)
{
    if (model.glyph) {
        GlyphMetrics metrics = *model.glyph;
        metrics.codePoint = codePoint;
        return metrics;
    }
    return {codePoint, 0, cell.height, cell.width};
}

// The picture's glyph as the font draws it, its box the whole cell.
BitmapGlyph GlyphOf(const Document &set, const Picture &picture, const GlyphMetrics &metrics)
{
    const PictureSize cell = picture.dots.Size();
    BitmapGlyph glyph;
    glyph.codePoint = metrics.codePoint;
    glyph.advance = metrics.advance;
    glyph.box = {cell.width, cell.height, -metrics.originColumn, metrics.baseline - cell.height};
    const DotGrid grid = GridOf(set, picture);
    glyph.dots.reserve(static_cast<std::size_t>(cell.DotCount()));
    for (int row = 0; row < cell.height; ++row)
        for (int column = 0; column < cell.width; ++column)
            glyph.dots.push_back(grid.State(grid.DotAt({column, row})) == DotState::Set ? 1 : 0);
    return glyph;
}

const Picture *GlyphPicture(const Document &set, char32_t codePoint)
{
    const auto found = std::find_if(set.pictures.begin(), set.pictures.end(), [codePoint](const Picture &picture) {
        return picture.glyph && picture.glyph->codePoint == codePoint;
    });
    return found == set.pictures.end() ? nullptr : &*found;
}

} // namespace

std::string GlyphPictureName(char32_t codePoint)
{
    std::string name = CodePointName(codePoint);
    std::replace(name.begin(), name.end(), '+', '_');
    return name;
}

Document GlyphSetOf(const BdfReading &reading, LcdType type)
{
    Document set;
    set.type = type;
    set.font = FontMetrics{reading.font.name, reading.font.copyright, reading.font.ascent, reading.font.descent,
                           reading.font.defaultCharacter};
    set.pictures.clear();
    for (const FontGlyph &glyph : reading.glyphs) {
        const BitmapGlyph *drawn = reading.font.Find(glyph.codePoint);
        Picture picture{GlyphPictureName(glyph.codePoint), kDefaultDelayMs, glyph.picture.AllDots()};
        picture.glyph = GlyphMetrics{glyph.codePoint, reading.originColumn, reading.baseline,
                                     drawn != nullptr ? drawn->advance : glyph.picture.Size().width};
        if (drawn != nullptr)
            if (const BitmapGlyph reduced = Reduced(*drawn); reduced.box.width == 0)
                picture.glyph->blankBox = reduced.box;
        set.pictures.push_back(std::move(picture));
    }
    return set;
}

Picture BlankGlyph(const Document &set, char32_t codePoint)
{
    Picture picture{GlyphPictureName(codePoint), kDefaultDelayMs, Dots(set.Size())};
    picture.glyph = PlacedAs(set.Edited(), set.Size(), codePoint);
    return picture;
}

Result<BitmapFont> FontOfSet(const Document &set)
{
    using Font = Result<BitmapFont>;
    BitmapFont font;
    if (set.font) {
        font.name = set.font->name;
        font.copyright = set.font->copyright;
        font.ascent = set.font->ascent;
        font.descent = set.font->descent;
        font.defaultCharacter = set.font->defaultCharacter;
    }
    std::map<char32_t, const Picture *> drawn;
    for (const Picture &picture : set.pictures) {
        std::optional<GlyphMetrics> metrics = picture.glyph;
        if (!metrics)
            if (const std::optional<char32_t> named = CodePointOfName(picture.name))
                metrics = PlacedAs(picture, picture.dots.Size(), *named);
        if (!metrics)
            return Font::Failed(FilledText(TextId::FontPictureNoGlyph, {picture.name}));
        if (const auto [earlier, added] = drawn.emplace(metrics->codePoint, &picture); !added)
            return Font::Failed(FilledText(TextId::FontDrawnTwice,
                                           {earlier->second->name, picture.name, CodePointName(metrics->codePoint)}));
        font.glyphs.push_back(Reduced(GlyphOf(set, picture, *metrics)));
        if (font.glyphs.back().box.width == 0 && metrics->blankBox)
            font.glyphs.back().box = *metrics->blankBox;
    }
    return Font::Ok(std::move(font));
}

Result<std::string> FontFileText(const Document &set, FontFormat format, U8g2Mode mode, std::string_view name)
{
    const Result<BitmapFont> font = FontOfSet(set);
    if (!font)
        return Result<std::string>::Failed(font.message());
    std::vector<std::optional<char32_t>> chosen;
    for (const BitmapGlyph &glyph : font.value().glyphs)
        chosen.emplace_back(glyph.codePoint);
    return FormatFont(font.value(), chosen, format, mode, name);
}

GlyphsKept GlyphsForText(const Document &set, std::string_view text)
{
    BitmapFont font;
    for (const Picture &picture : set.pictures) {
        BitmapGlyph glyph;
        glyph.codePoint = picture.glyph ? picture.glyph->codePoint : CodePointOfName(picture.name).value_or(0);
        font.glyphs.push_back(glyph);
    }
    TextGlyphs chosen = ChooseGlyphsForText(font, text);
    GlyphsKept result{{}, std::move(chosen.missing)};
    for (const std::optional<char32_t> &character : chosen.chosen)
        result.kept.push_back(character.has_value());
    return result;
}

Dots SampleLine(const Document &set, std::string_view text, PictureSize size)
{
    Dots dots(size);
    const auto rowsAbove = [](const Picture &picture) { return picture.glyph ? picture.glyph->baseline : 0; };
    const auto highest =
        std::max_element(set.pictures.begin(), set.pictures.end(),
                         [&rowsAbove](const Picture &a, const Picture &b) { return rowsAbove(a) < rowsAbove(b); });
    const int baseline = set.font && set.font->ascent > 0 ? set.font->ascent : rowsAbove(*highest);
    int pen = 0;
    for (std::size_t at = 0; at < text.size() && pen < size.width;) {
        const std::optional<char32_t> character = DecodeUtf8(text, at);
        const Picture *picture = character ? GlyphPicture(set, *character) : nullptr;
        if (picture == nullptr)
            continue;
        const GlyphMetrics &metrics = *picture->glyph;
        const DotGrid grid = GridOf(set, *picture);
        const PictureSize cell = grid.Size();
        for (int row = 0; row < cell.height; ++row)
            for (int column = 0; column < cell.width; ++column) {
                const int x = pen - metrics.originColumn + column;
                const int y = baseline - metrics.baseline + row;
                if (x >= 0 && x < size.width && y >= 0 && y < size.height
                    && grid.State(grid.DotAt({column, row})) == DotState::Set)
                    dots[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width))
                         + static_cast<std::size_t>(x)] = DotState::Set;
            }
        pen += metrics.advance;
    }
    return dots;
}

std::string StripCaption(const Picture &picture)
{
    if (!picture.glyph || picture.glyph->codePoint <= 0x20 || picture.glyph->codePoint == 0x7F)
        return picture.name;
    return EncodeUtf8(picture.glyph->codePoint) + "  " + picture.name;
}

std::string SampleTextOf(const Document &set)
{
    std::string text;
    std::size_t taken = 0;
    for (const Picture &picture : set.pictures) {
        if (!picture.glyph || picture.glyph->codePoint < 0x20)
            continue;
        text += EncodeUtf8(picture.glyph->codePoint);
        if (++taken == kSampleCharacters)
            break;
    }
    return text;
}

} // namespace tessaldo
