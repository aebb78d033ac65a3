#include "core/session/GlyphSet.h"

#include "core/code/CodeFormats.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/FontText.h"
#include "core/session/Texts.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

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
        metrics.read = nullptr; // drawn here, not read
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

// The glyph as its font gave it where `reduced` draws what it drew, with the
// advance it has now; else `reduced`.
BitmapGlyph AsRead(BitmapGlyph reduced, const BitmapGlyph *read)
{
    if (read == nullptr)
        return reduced;
    const BitmapGlyph drew = Reduced(*read);
    const bool same = drew.dots == reduced.dots && drew.box.width == reduced.box.width
                      && drew.box.height == reduced.box.height && (drew.box.width == 0 || drew.box == reduced.box);
    if (!same)
        return reduced;
    BitmapGlyph glyph = *read;
    glyph.advance = reduced.advance;
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
    const auto opened = std::make_shared<const BitmapFont>(reading.font);
    set.font->opened = opened;
    set.pictures.clear();
    for (const FontGlyph &glyph : reading.glyphs) {
        const BitmapGlyph *drawn = opened->Find(glyph.codePoint);
        Picture picture{GlyphPictureName(glyph.codePoint), kDefaultDelayMs, glyph.picture.AllDots()};
        GlyphMetrics metrics{glyph.codePoint, reading.originColumn, reading.baseline,
                             drawn != nullptr ? drawn->advance : glyph.picture.Size().width};
        if (drawn != nullptr)
            metrics.read = std::shared_ptr<const BitmapGlyph>(opened, drawn); // a glyph of the font kept once
        picture.glyph.emplace(std::move(metrics));
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
        font.glyphs.push_back(AsRead(Reduced(GlyphOf(set, picture, *metrics)), metrics->read.get()));
    }
    return Font::Ok(std::move(font));
}

Result<std::string> FontFileText(const Document &set, FontFormat format, U8g2Mode mode, std::string_view name)
{
    const Result<BitmapFont> font = FontOfSet(set);
    if (!font)
        return Result<std::string>::Failed(font.message());
    BitmapFont whole = font.value();
    std::vector<std::optional<char32_t>> chosen;
    for (const BitmapGlyph &glyph : whole.glyphs)
        chosen.emplace_back(glyph.codePoint);
    if (set.font && set.font->opened) {
        std::set<char32_t> held;
        for (const BitmapGlyph &glyph : whole.glyphs)
            held.insert(glyph.codePoint);
        for (const BitmapGlyph &glyph : set.font->opened->glyphs)
            if (!held.contains(glyph.codePoint)) {
                whole.glyphs.push_back(glyph);
                chosen.emplace_back(std::nullopt);
            }
    }
    return FormatFont(whole, chosen, format, mode, name);
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

// Each dot of a line of `text` in the set's font, from the pen that starts at
// the left edge on the font's baseline, where it falls (`at` may be beyond
// any display); the pen's place at the end.
template <typename DotAt> int ForEachSampleDot(const Document &set, std::string_view text, DotAt at)
{
    const auto rowsAbove = [](const Picture &picture) { return picture.glyph ? picture.glyph->baseline : 0; };
    const auto highest =
        std::max_element(set.pictures.begin(), set.pictures.end(),
                         [&rowsAbove](const Picture &a, const Picture &b) { return rowsAbove(a) < rowsAbove(b); });
    const int baseline = set.font && set.font->ascent > 0 ? set.font->ascent : rowsAbove(*highest);
    int pen = 0;
    for (std::size_t next = 0; next < text.size();) {
        const std::optional<char32_t> character = DecodeUtf8(text, next);
        const Picture *picture = character ? GlyphPicture(set, *character) : nullptr;
        if (picture == nullptr)
            continue;
        const GlyphMetrics &metrics = *picture->glyph;
        const DotGrid grid = GridOf(set, *picture);
        const PictureSize cell = grid.Size();
        for (int row = 0; row < cell.height; ++row)
            for (int column = 0; column < cell.width; ++column)
                if (grid.State(grid.DotAt({column, row})) == DotState::Set)
                    at(pen - metrics.originColumn + column, baseline - metrics.baseline + row);
        pen += metrics.advance;
    }
    return pen;
}

Dots SampleLine(const Document &set, std::string_view text, PictureSize size)
{
    Dots dots(size);
    ForEachSampleDot(set, text, [&dots, size](int x, int y) {
        if (x >= 0 && x < size.width && y >= 0 && y < size.height)
            dots[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width)) + static_cast<std::size_t>(x)] =
                DotState::Set;
    });
    return dots;
}

PictureSize SampleLineSize(const Document &set, std::string_view text)
{
    PictureSize size{0, set.font ? set.font->ascent + set.font->descent : 0};
    const int pen = ForEachSampleDot(set, text, [&size](int x, int y) {
        size.width = std::max(size.width, x + 1);
        size.height = std::max(size.height, y + 1);
    });
    size.width = std::max({size.width, pen, 1});
    size.height = std::max(size.height, 1);
    return size;
}

std::size_t SampleDisplay(const Document &set)
{
    return DisplayHolding(SampleLineSize(set, SampleTextOf(set)));
}

std::string GlyphCaption(char32_t codePoint)
{
    // Controls, spaces and the invisible marks between words and lines: the
    // character itself would show as nothing.
    constexpr std::array<std::pair<char32_t, char32_t>, 10> kBlank{{{0x0000, 0x0020},
                                                                    {0x007F, 0x00A0},
                                                                    {0x00AD, 0x00AD},
                                                                    {0x1680, 0x1680},
                                                                    {0x2000, 0x200F},
                                                                    {0x2028, 0x202F},
                                                                    {0x205F, 0x206F},
                                                                    {0x3000, 0x3000},
                                                                    {0xFEFF, 0xFEFF},
                                                                    {0xFFF9, 0xFFFB}}};
    const bool blank = std::any_of(kBlank.begin(), kBlank.end(), [codePoint](const auto &range) {
        return codePoint >= range.first && codePoint <= range.second;
    });
    return blank ? CodePointName(codePoint) : EncodeUtf8(codePoint);
}

int AdvanceBeyondCell(const Picture &picture)
{
    if (!picture.glyph)
        return 0;
    return std::max(0, picture.glyph->originColumn + picture.glyph->advance - picture.dots.Size().width);
}

std::string StripCaption(const Picture &picture)
{
    return picture.glyph ? GlyphCaption(picture.glyph->codePoint) : picture.name;
}

std::string SampleTextOf(const Document &set)
{
    if (set.font && !set.font->sample.empty())
        return set.font->sample;
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
