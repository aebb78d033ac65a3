#include "core/formats/FontFiles.h"

#include "core/formats/GfxFont.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/U8g2Font.h"
#include "core/platform/FileIo.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tessaldo {
namespace {

constexpr std::string_view kBdfStart = "STARTFONT";
// An sfnt's version: TrueType outlines, CFF outlines (OpenType), Apple's
// TrueType, and a collection of them.
constexpr std::array<std::string_view, 4> kSfntStarts{std::string_view("\0\1\0\0", 4), "OTTO", "true", "ttcf"};
constexpr std::array<std::string_view, 5> kSourceEndings{".c", ".h", ".cpp", ".hpp", ".ino"};
constexpr std::array<std::string_view, 4> kSfntEndings{".ttf", ".otf", ".ttc", ".otc"};
// Enough of a file's start to tell any kind but the C sources.
constexpr std::size_t kStartBytes = kBdfStart.size();
constexpr std::size_t kMaxFontBytes = std::size_t{64} << 20;

std::string Ending(std::string_view fileName)
{
    std::string ending = DisplayPath(std::filesystem::path(fileName).extension());
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending;
}

template <std::size_t N> bool OneOf(const std::array<std::string_view, N> &choices, std::string_view value)
{
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

} // namespace

bool IsFontSourceName(std::string_view fileName)
{
    return OneOf(kSourceEndings, Ending(fileName));
}

FontKind FontKindOf(std::string_view fileName, std::string_view bytes)
{
    const std::string ending = Ending(fileName);
    if (ending == ".bdf" || bytes.starts_with(kBdfStart))
        return FontKind::Bdf;
    if (OneOf(kSfntEndings, ending) || OneOf(kSfntStarts, bytes.substr(0, 4)))
        return FontKind::TrueType;
    if (!IsFontSourceName(fileName))
        return FontKind::None;
    if (bytes.find("U8G2_FONT_SECTION") != std::string_view::npos)
        return FontKind::U8g2;
    return bytes.find("GFXglyph") != std::string_view::npos && bytes.find("GFXfont") != std::string_view::npos
               ? FontKind::Gfx
               : FontKind::None;
}

FontKind FontKindOfFile(const std::filesystem::path &file)
{
    std::string bytes;
    const std::string name = DisplayPath(file);
    if (!ReadFileStart(file, IsFontSourceName(name) ? kMaxSourceBytes : kStartBytes, bytes))
        return FontKind::None;
    return FontKindOf(name, bytes);
}

Result<std::string> ReadFontBytes(const std::filesystem::path &file)
{
    std::string bytes;
    if (const FileStatus read = ReadFileStart(file, kMaxFontBytes + 1, bytes); !read)
        return Result<std::string>::Failed(read.message());
    if (bytes.size() > kMaxFontBytes)
        return Result<std::string>::Failed("Cannot import \"" + DisplayPath(file) + "\": it is larger than 64 MiB.");
    return Result<std::string>::Ok(std::move(bytes));
}

Result<BdfReading> ReadFont(std::string_view text, FontKind kind, std::string_view file, LcdType type)
{
    using Reading = Result<BdfReading>;
    if (kind == FontKind::U8g2) {
        const std::vector<U8g2Source> fonts = FindU8g2Fonts(text);
        const Result<BitmapFont> font = DecodeU8g2Font(fonts.front().bytes, fonts.front().name);
        return font ? ReadFont(font.value(), file, type) : Reading::Failed(font.message());
    }
    if (kind == FontKind::Gfx) {
        const Result<GfxFont> font = ReadGfxFont(text);
        return font ? ReadFont(GfxFontGlyphs(font.value()), file, type) : Reading::Failed(font.message());
    }
    BdfReading reading = ReadBdfFont(text, type);
    if (!reading.problem.empty())
        return Reading::Failed("Cannot import \"" + std::string(file) + "\": " + reading.problem + ".");
    return Reading::Ok(std::move(reading));
}

Result<BdfReading> ReadFont(const BitmapFont &font, std::string_view file, LcdType type)
{
    // BDF keeps no line height: the reading takes the font's own.
    Result<BdfReading> reading = ReadFont(FormatBdfFont(font), FontKind::Bdf, file, type);
    if (reading)
        reading.value().font.lineHeight = font.lineHeight;
    return reading;
}

std::string FontReadingNotes(std::string_view file, const BdfReading &reading)
{
    const std::string shown = "\"" + std::string(file) + "\"";
    std::string notes;
    if (!reading.note.empty())
        notes = "Note: " + shown + ": " + reading.note + ".";
    if (reading.passedOver > 0)
        notes += (notes.empty() ? "" : "\n")
                 + PassedOverIn(shown, std::to_string(reading.passedOver)
                                           + (reading.passedOver == 1 ? " glyph, " : " glyphs, the first ")
                                           + reading.firstPassedOver);
    return notes;
}

FontFormat FontFormatOfFile(const std::filesystem::path &file)
{
    const std::string ending = Ending(DisplayPath(file));
    return ending == ".c" ? FontFormat::U8g2 : ending == ".h" ? FontFormat::Gfx : FontFormat::Bdf;
}

BitmapFont ChosenFont(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen)
{
    BitmapFont kept = font;
    kept.glyphs.clear();
    for (std::size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i]) {
            kept.glyphs.push_back(font.glyphs[i]);
            kept.glyphs.back().codePoint = *chosen[i];
        }
    return kept;
}

Result<std::string> FormatFont(const BitmapFont &font, const std::vector<std::optional<char32_t>> &chosen,
                               FontFormat format, U8g2Mode mode, std::string_view name)
{
    using Text = Result<std::string>;
    if (format == FontFormat::U8g2)
        return FormatU8g2Font(font, chosen, mode, name);
    BitmapFont kept = ChosenFont(font, chosen);
    if (format == FontFormat::Bdf)
        return Text::Ok(FormatBdfFont(kept));
    const auto [lowest, highest] =
        std::minmax_element(kept.glyphs.begin(), kept.glyphs.end(),
                            [](const BitmapGlyph &a, const BitmapGlyph &b) { return a.codePoint < b.codePoint; });
    const char32_t first = lowest->codePoint;
    const char32_t last = highest->codePoint;
    if (const BitmapGlyph *fallback = font.defaultCharacter ? font.Find(*font.defaultCharacter) : nullptr)
        kept.glyphs.push_back(*fallback);
    const Result<GfxFont> gfx = BuildGfxFont(kept, first, last);
    return gfx ? Text::Ok(FormatGfxFont(gfx.value(), name)) : Text::Failed(gfx.message());
}

} // namespace tessaldo
