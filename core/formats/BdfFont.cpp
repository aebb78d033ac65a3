#include "core/formats/BdfFont.h"

#include "core/convert/GlyphNames.h"
#include "core/convert/PixelsToDots.h"
#include "core/model/BitLayout.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <unordered_set>

namespace tessaldo {
namespace {

// The 16 x 16 cell's metrics: Unifont's, so that text drawn from it sits on
// the baseline. A picture of another size says nothing of a baseline, so its
// bottom row sits on it, as u8g2's icon fonts set theirs.
constexpr int kModuleDescent = 2;
// At 72 dots an inch a point is a dot, so the scalable width of a square
// cell's advance is a round 1000 thousandths of the size.
constexpr int kResolution = 72;

// The cell every glyph of a font written for pictures of `size` is drawn in.
struct GlyphCell {
    explicit GlyphCell(PictureSize size) : width(size.width), height(size.height)
    {
        descent = IsModuleSize(size) ? kModuleDescent : 0;
    }
    int width;
    int height;
    int descent;
    int Ascent() const { return height - descent; }
};

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// The glyph names of the Adobe Glyph List's convention: uniD55C, u1F600.
std::string GlyphName(char32_t codePoint)
{
    return codePoint <= 0xFFFF ? "uni" + Hex(codePoint, 4) : "u" + Hex(codePoint, 5);
}

std::string XlfdName(std::string_view family, const GlyphCell &cell)
{
    const std::string size = std::to_string(cell.height);
    const std::string resolution = std::to_string(kResolution);
    return "-Tessaldo-" + std::string(family) + "-Medium-R-Normal--" + size + "-" + size + "0-" + resolution + "-"
           + resolution + "-C-" + std::to_string(cell.width) + "0-ISO10646-1";
}

std::string Properties(std::string_view family, bool hasReplacementCharacter, const GlyphCell &cell)
{
    const std::string size = std::to_string(cell.height);
    const std::string resolution = std::to_string(kResolution);
    std::vector<std::string> lines{"FOUNDRY \"Tessaldo\"",
                                   "FAMILY_NAME \"" + std::string(family) + "\"",
                                   "WEIGHT_NAME \"Medium\"",
                                   "SLANT \"R\"",
                                   "SETWIDTH_NAME \"Normal\"",
                                   "ADD_STYLE_NAME \"\"",
                                   "PIXEL_SIZE " + size,
                                   "POINT_SIZE " + size + "0",
                                   "RESOLUTION_X " + resolution,
                                   "RESOLUTION_Y " + resolution,
                                   "SPACING \"C\"",
                                   "AVERAGE_WIDTH " + std::to_string(cell.width) + "0",
                                   "CHARSET_REGISTRY \"ISO10646\"",
                                   "CHARSET_ENCODING \"1\"",
                                   "FONT_ASCENT " + std::to_string(cell.Ascent()),
                                   "FONT_DESCENT " + std::to_string(cell.descent)};
    // What a program shows for a character the font lacks, where the font can say.
    if (hasReplacementCharacter)
        lines.push_back("DEFAULT_CHAR " + std::to_string(0xFFFD));
    std::string text = "STARTPROPERTIES " + std::to_string(lines.size()) + "\n";
    for (const std::string &line : lines)
        text += line + "\n";
    return text + "ENDPROPERTIES\n";
}

// The cell's box: its size, and its left and bottom from the origin.
std::string CellBox(const GlyphCell &cell)
{
    return std::to_string(cell.width) + " " + std::to_string(cell.height) + " 0 " + std::to_string(-cell.descent);
}

std::string BoxText(const FontBox &box)
{
    return std::to_string(box.width) + " " + std::to_string(box.height) + " " + std::to_string(box.x) + " "
           + std::to_string(box.y);
}

// A glyph of a font `size` dots high (its SWIDTH in thousandths of that size, rounded).
std::string GlyphText(const BitmapGlyph &glyph, int size)
{
    std::string text = "STARTCHAR " + GlyphName(glyph.codePoint) + "\nENCODING "
                       + std::to_string(static_cast<unsigned>(glyph.codePoint)) + "\nSWIDTH "
                       + std::to_string((glyph.advance * 1000 + size / 2) / size) + " 0\nDWIDTH "
                       + std::to_string(glyph.advance) + " 0\nBBX " + BoxText(glyph.box) + "\nBITMAP\n";
    // A row's bytes from the left, the leftmost dot the high bit, padded to whole bytes.
    for (int row = 0; row < glyph.box.height; ++row) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>((glyph.box.width + 7) / 8));
        for (int column = 0; column < glyph.box.width; ++column)
            if (glyph.Dot(column, row))
                bytes[static_cast<std::size_t>(column / 8)] |= static_cast<std::uint8_t>(0x80U >> (column % 8));
        for (const std::uint8_t byte : bytes)
            text += Hex(byte, 2);
        text += "\n";
    }
    return text + "ENDCHAR\n";
}

// The words of one line, split at spaces and tabs.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while ((start = line.find_first_not_of(" \t", start)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        start = end;
    }
    return words;
}

// A whole number, or why the word is none: not a number, or one too large for a font.
struct Integer {
    explicit Integer(std::string_view word)
    {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        whole = end == word.data() + word.size() && !word.empty();
        tooLarge = whole && error == std::errc::result_out_of_range;
        whole = whole && error == std::errc{};
    }
    int value = 0;
    bool whole = false;
    bool tooLarge = false;
};

struct Box {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

// A reason the font cannot be read: the line it was found on, and what is wrong there.
struct Damage {
    std::string reason;
};

// Where a font's glyphs are drawn: a cell of `size` whose top left corner
// is the font's box's, or else whose left edge holds the origin and whose
// top is the ascent above it.
struct GlyphPlace {
    PictureSize size;
    bool fromBox = false;
};

// Reads the font a line at a time; a damaged line throws Damage.
class BdfParser {
public:
    BdfParser(std::string_view text, LcdType type) : m_text(text), m_type(type) {}

    BdfReading Read()
    {
        BdfReading reading;
        try {
            ReadFont(reading);
        } catch (const Damage &damage) {
            reading = BdfReading{};
            reading.problem = damage.reason;
        }
        return reading;
    }

private:
    // The next line's words; none at the end of the text.
    bool NextLine(std::vector<std::string_view> &words)
    {
        while (m_position < m_text.size()) {
            std::size_t end = m_text.find('\n', m_position);
            end = end == std::string_view::npos ? m_text.size() : end;
            std::string_view line = m_text.substr(m_position, end - m_position);
            m_position = end + 1;
            ++m_lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            words = Words(line);
            if (!words.empty() && words.front() != "COMMENT")
                return true;
        }
        return false;
    }

    [[noreturn]] void Damaged(const std::string &what) const
    {
        throw Damage{"line " + std::to_string(m_lineNumber) + " " + what};
    }

    // The `count` whole numbers after the keyword.
    std::vector<int> Numbers(const std::vector<std::string_view> &words, std::size_t count) const
    {
        const std::string keyword(words.front());
        std::vector<int> numbers;
        for (std::size_t i = 1; i < words.size() && i <= count; ++i) {
            const Integer number(words[i]);
            // No font holds so many glyphs, nor a box so large: say so rather than call it no number.
            if (number.tooLarge)
                Damaged("gives " + keyword + (keyword == "CHARS" ? " a count" : " a number")
                        + " too large for any font (" + std::string(words[i]) + ")");
            if (number.whole)
                numbers.push_back(number.value);
        }
        if (numbers.size() < count)
            Damaged("does not give " + keyword + " its "
                    + (count == 1 ? std::string("whole number") : std::to_string(count) + " whole numbers"));
        return numbers;
    }

    Box BoxOf(const std::vector<std::string_view> &words) const
    {
        const std::vector<int> numbers = Numbers(words, 4);
        if (numbers[0] < 0 || numbers[1] < 0)
            Damaged("gives a box of negative size");
        return {numbers[0], numbers[1], numbers[2], numbers[3]};
    }

    void ReadFont(BdfReading &reading)
    {
        std::vector<std::string_view> words;
        if (!NextLine(words) || words.front() != "STARTFONT")
            throw Damage{"it is no BDF font: it does not begin with STARTFONT"};
        std::optional<int> chars;
        bool ended = false;
        while (!ended && NextLine(words)) {
            ended = words.front() == "ENDFONT";
            if (words.front() == "FONTBOUNDINGBOX")
                m_fontBox = BoxOf(words);
            else if (words.front() == "STARTPROPERTIES")
                ReadProperties();
            else if (words.front() == "CHARS")
                chars = Numbers(words, 1).front();
            else if (words.front() == "STARTCHAR")
                ReadGlyph(words.size() > 1 ? std::string(words[1]) : std::string(), reading);
            else if (words.front() == "FONT")
                reading.font.name = Rest(words);
        }
        reading.font.ascent = static_cast<int>(m_ascent.value_or(0));
        reading.font.descent = static_cast<int>(m_descent.value_or(0));
        const bool allCounted = !chars || static_cast<std::size_t>(*chars) == m_glyphsRead;
        // Some writers leave ENDFONT out; glyphs that each end whole, as many
        // as CHARS says, are the whole font all the same.
        if (!ended && (!allCounted || m_glyphsRead == 0))
            throw Damage{"it ends before ENDFONT: the file is cut short"};
        if (!allCounted)
            throw Damage{"it says it holds " + std::to_string(*chars) + " glyphs (CHARS) but holds "
                         + std::to_string(m_glyphsRead)};
        if (m_glyphsRead == 0)
            throw Damage{"it holds no glyphs"};
        if (m_place) {
            const Origin origin = OriginInCell();
            reading.originColumn = static_cast<int>(origin.column);
            reading.baseline = static_cast<int>(origin.rowsAbove);
        }
        reading.font.copyright = m_copyright;
        reading.font.defaultCharacter = m_defaultCharacter;
        if (!ended)
            reading.note = "it ends without ENDFONT, but each of its " + std::to_string(m_glyphsRead)
                           + " glyphs is whole, so they were taken";
    }

    // The ascent and descent place the glyphs; the character set says whether their numbers are Unicode's.
    // The line after its keyword, without the quotes a string property is written in.
    static std::string Rest(const std::vector<std::string_view> &words)
    {
        if (words.size() < 2)
            return {};
        std::string rest(words[1].data(), words.back().data() + words.back().size());
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        return rest;
    }

    void ReadProperties()
    {
        std::vector<std::string_view> words;
        std::string registry;
        std::string encoding;
        bool ended = false;
        while (!ended && NextLine(words)) {
            ended = words.front() == "ENDPROPERTIES";
            const auto value = [&words] { return words.size() > 1 ? std::string(words[1]) : std::string(); };
            if (words.front() == "FONT_ASCENT")
                m_ascent = Numbers(words, 1).front();
            else if (words.front() == "COPYRIGHT")
                m_copyright = Rest(words);
            else if (words.front() == "DEFAULT_CHAR")
                m_defaultCharacter = static_cast<char32_t>(Numbers(words, 1).front());
            else if (words.front() == "FONT_DESCENT")
                m_descent = Numbers(words, 1).front();
            else if (words.front() == "AVERAGE_WIDTH")
                m_averageWidth = Numbers(words, 1).front();
            else if (words.front() == "SPACING")
                m_spacing = value();
            else if (words.front() == "CHARSET_REGISTRY")
                registry = value();
            else if (words.front() == "CHARSET_ENCODING")
                encoding = value();
        }
        if (!ended)
            throw Damage{"it ends before ENDPROPERTIES: the file is cut short"};
        std::erase(registry, '"');
        std::erase(encoding, '"');
        std::erase(m_spacing, '"');
        std::transform(registry.begin(), registry.end(), registry.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        // Writers spell the standard's number with a dash too: ISO-8859, ISO-10646.
        std::string standard = registry;
        std::erase(standard, '-');
        // ISO 8859-1 numbers its characters as Unicode does; other sets do not.
        const bool unicode = standard.empty() || standard == "ISO10646" || (standard == "ISO8859" && encoding == "1");
        if (!unicode)
            throw Damage{"its characters are numbered in " + registry + (encoding.empty() ? "" : "-" + encoding)
                         + ", not in Unicode (ISO10646), so they cannot be named U+XXXX"};
    }

    void ReadGlyph(const std::string &name, BdfReading &reading)
    {
        std::vector<std::string_view> words;
        std::optional<int> encoding;
        std::optional<Box> box;
        int advance = 0;
        std::vector<std::uint8_t> dots;
        ScreenCells cells{};
        std::string passedOver;
        bool ended = false;
        bool drawn = false;
        while (!ended && NextLine(words)) {
            ended = words.front() == "ENDCHAR";
            if (words.front() == "ENCODING") {
                encoding = Numbers(words, 1).front();
            } else if (words.front() == "BBX") {
                box = BoxOf(words);
            } else if (words.front() == "DWIDTH") {
                advance = Numbers(words, 1).front();
            } else if (words.front() == "BITMAP") {
                passedOver = ReadBitmap(box, cells, dots, ended);
                drawn = true;
            }
        }
        if (!ended)
            throw Damage{"it ends inside the glyph " + name + ": the file is cut short"};
        // Without its BITMAP a glyph would come in blank, as if drawn so.
        if (!drawn)
            Damaged("ends the glyph " + name + " without its BITMAP");
        ++m_glyphsRead;
        const std::string shown = encoding && *encoding >= 0 ? CodePointName(static_cast<char32_t>(*encoding)) : name;
        if (!encoding || *encoding < 0 || *encoding > 0x10FFFF)
            passedOver = "it has no Unicode code point (ENCODING)";
        else if (!m_codePoints.insert(*encoding).second)
            passedOver = "a glyph before it draws the same character";
        else
            reading.font.glyphs.push_back(
                {static_cast<char32_t>(*encoding), advance, {box->width, box->height, box->x, box->y}, dots});
        if (!passedOver.empty()) {
            if (reading.passedOver++ == 0)
                reading.firstPassedOver = shown + ": " + passedOver;
            return;
        }
        FontGlyph glyph{static_cast<char32_t>(*encoding), DotGrid{}};
        glyph.picture.SetLCDType(m_type);
        glyph.picture.SetAllDots(Dots(cells.Size()));
        PutCells(glyph.picture, cells);
        reading.glyphs.push_back(glyph);
    }

    // The glyph's rows into the cell and, as the box holds them, into `dots`;
    // why it cannot be a picture, or "". The rows end the glyph: `ended` once
    // its ENDCHAR follows them.
    std::string ReadBitmap(const std::optional<Box> &box, ScreenCells &cells, std::vector<std::uint8_t> &dots,
                           bool &ended)
    {
        if (!box || !m_fontBox)
            Damaged("begins a BITMAP before the font's FONTBOUNDINGBOX and the glyph's BBX");
        int outside = 0;
        if (!m_place)
            m_place = Place();
        const PictureSize cell = m_place->size;
        cells = ScreenCells(cell);
        const Origin origin = OriginInCell();
        const std::int64_t left = std::int64_t{box->x} + origin.column;
        const std::int64_t top = origin.rowsAbove - box->y - box->height;
        std::vector<std::string_view> words;
        for (int row = 0; row < box->height; ++row) {
            if (!NextLine(words) || words.front() == "ENDCHAR")
                Damaged("ends the BITMAP before its " + std::to_string(box->height) + " rows");
            const std::string_view hex = words.front();
            if (hex.size() * 4 < static_cast<std::size_t>(box->width))
                Damaged("holds a row of the BITMAP shorter than the glyph's width");
            for (int column = 0; column < box->width; ++column) {
                unsigned digit = 0;
                const char *first = hex.data() + column / 4;
                if (std::from_chars(first, first + 1, digit, 16).ec != std::errc{})
                    Damaged("holds a row of the BITMAP that is no hex number");
                dots.push_back((digit & (8U >> (column % 4))) == 0 ? 0 : 1);
                if (dots.back() == 0)
                    continue;
                const std::int64_t x = left + column;
                const std::int64_t y = top + row;
                if (x >= 0 && x < cell.width && y >= 0 && y < cell.height)
                    cells.At({static_cast<int>(x), static_cast<int>(y)}) = true;
                else
                    ++outside;
            }
        }
        ended = NextLine(words);
        if (ended && words.front() != "ENDCHAR")
            Damaged("holds more than the " + std::to_string(box->height)
                    + " rows of the glyph's BITMAP, or its ENDCHAR is missing");
        if (outside == 0)
            return {};
        return std::to_string(outside) + " of its dots fall outside the " + PictureSizeText(cell)
               + " picture (its box is " + std::to_string(box->width) + " x " + std::to_string(box->height) + " at "
               + std::to_string(box->x) + ", " + std::to_string(box->y) + ")";
    }

    // Where the origin lies in the cell: the baseline as far below the
    // cell's top as the font ascends, and the origin at its left edge, as a
    // line of text sets the glyph; only a font that reaches left of its
    // origin moves right to keep it whole. The font's bounding box is no
    // place to start from: writers shrink it to the dots their glyphs use.
    // Icon fonts give an ascent and descent of 0, or none: their box is the
    // cell then. A cell of the font's own box has the box's top left corner.
    // Wide enough for any numbers the font gives.
    struct Origin {
        std::int64_t column;
        std::int64_t rowsAbove;
    };
    Origin OriginInCell() const
    {
        const bool metricsGiven = m_ascent && (*m_ascent != 0 || m_descent.value_or(0) != 0);
        const bool ownBox = m_place->fromBox && !IsModuleSize(m_place->size);
        return {-std::int64_t{ownBox ? m_fontBox->x : std::min(0, m_fontBox->x)},
                metricsGiven && !ownBox ? *m_ascent : std::int64_t{m_fontBox->y} + m_fontBox->height};
    }

    std::string_view m_text;
    LcdType m_type;
    std::size_t m_position = 0;
    int m_lineNumber = 0;
    // The size of the glyphs' pictures: the font's box where it is a whole
    // cell around the origin, as fonts drawn for a size give it (a 5 x 7
    // font's "5 7 0 -1", u8g2's 32 x 32 icons' "32 32 0 0"), so that every
    // glyph keeps its place on the baseline and a set of them shares one
    // size. A box that does not hold the origin was shrunk by its writer to
    // the dots the glyphs use, as FontForge writes it; a font of character
    // cells then still says its cell: its average width, all its advances
    // are, and its ascent and descent. Any other font's glyphs go into the
    // module's 16 x 16 cell, as Unifont's do.
    GlyphPlace Place() const
    {
        const Box &box = *m_fontBox;
        const PictureSize own{box.width, box.height};
        if (box.x <= 0 && box.x + box.width >= 0 && box.y <= 0 && box.y + box.height >= 0 && IsPictureSize(own))
            return {own, true};
        const bool cells = m_spacing == "C" || m_spacing == "M";
        if (cells && m_averageWidth && m_ascent && m_descent) {
            const PictureSize line{(*m_averageWidth + 5) / 10, static_cast<int>(*m_ascent + *m_descent)};
            if (IsPictureSize(line))
                return {line, false};
        }
        return {kModuleSize, false};
    }

    std::optional<Box> m_fontBox;
    std::optional<GlyphPlace> m_place;          // found at the first glyph's bitmap, once the properties are read
    std::optional<std::int64_t> m_ascent;       // FONT_ASCENT
    std::optional<std::int64_t> m_descent;      // FONT_DESCENT
    std::optional<int> m_averageWidth;          // AVERAGE_WIDTH, in tenths of a dot
    std::string m_spacing;                      // SPACING: C for character cells, M for monospace, P proportional
    std::string m_copyright;                    // COPYRIGHT
    std::optional<char32_t> m_defaultCharacter; // DEFAULT_CHAR
    std::size_t m_glyphsRead = 0;
    std::unordered_set<int> m_codePoints;
};

bool IsFamilyCharacter(char c)
{
    return c >= ' ' && c <= '~' && std::string_view("-?*,\"").find(c) == std::string_view::npos;
}

} // namespace

std::string FamilyProblem(std::string_view family)
{
    if (family.empty())
        return "the family name is empty";
    if (!std::all_of(family.begin(), family.end(), IsFamilyCharacter))
        return "the family name holds a character a font's name cannot: only printable ASCII without - ? * , and \"";
    return {};
}

std::string FamilyFromFileName(const std::filesystem::path &file)
{
    std::string family;
    for (const char8_t c : file.stem().u8string())
        family += IsFamilyCharacter(static_cast<char>(c)) ? static_cast<char>(c) : ' ';
    const std::size_t first = family.find_first_not_of(' ');
    if (first == std::string::npos)
        return "Tessaldo";
    return family.substr(first, family.find_last_not_of(' ') - first + 1);
}

std::string FormatBdfFont(std::vector<FontGlyph> glyphs, std::string_view family)
{
    const GlyphCell cell(glyphs.empty() ? kModuleSize : glyphs.front().picture.Size());
    const bool hasReplacement =
        std::any_of(glyphs.begin(), glyphs.end(), [](const FontGlyph &glyph) { return glyph.codePoint == 0xFFFD; });
    const BitmapFont font = PicturesAsFont(std::move(glyphs), family);
    // The font's box is the cell, so that a reader gives back pictures of its size.
    std::string text = "STARTFONT 2.1\nFONT " + font.name + "\nSIZE " + std::to_string(cell.height) + " "
                       + std::to_string(kResolution) + " " + std::to_string(kResolution) + "\nFONTBOUNDINGBOX "
                       + CellBox(cell) + "\n" + Properties(family, hasReplacement, cell) + "CHARS "
                       + std::to_string(font.glyphs.size()) + "\n";
    for (const BitmapGlyph &glyph : font.glyphs)
        text += GlyphText(glyph, cell.height);
    return text + "ENDFONT\n";
}

BitmapFont PicturesAsFont(std::vector<FontGlyph> glyphs, std::string_view family)
{
    const GlyphCell cell(glyphs.empty() ? kModuleSize : glyphs.front().picture.Size());
    std::sort(glyphs.begin(), glyphs.end(),
              [](const FontGlyph &a, const FontGlyph &b) { return a.codePoint < b.codePoint; });
    BitmapFont font;
    font.name = XlfdName(family, cell);
    font.ascent = cell.Ascent();
    font.descent = cell.descent;
    const std::size_t rowBytes = (static_cast<std::size_t>(cell.width) + 7) / 8;
    for (const FontGlyph &glyph : glyphs) {
        BitmapGlyph drawn{glyph.codePoint, cell.width, {cell.width, cell.height, 0, -cell.descent}, {}};
        const std::vector<std::uint8_t> rows = SizedLayoutBytes(glyph.picture, BitLayout::Rows);
        for (std::size_t row = 0; row < static_cast<std::size_t>(cell.height); ++row)
            for (std::size_t column = 0; column < static_cast<std::size_t>(cell.width); ++column)
                drawn.dots.push_back(rows[row * rowBytes + column / 8] >> (7 - column % 8) & 1U);
        font.glyphs.push_back(Reduced(drawn));
    }
    return font;
}

std::string FormatBdfFont(const BitmapFont &font)
{
    std::vector<BitmapGlyph> glyphs;
    // The box holds the origin too, so that a reader that draws the font in
    // one cell (this program's among them) keeps every glyph on its baseline.
    FontBox all;
    for (const BitmapGlyph &glyph : font.glyphs) {
        glyphs.push_back(Reduced(glyph));
        const FontBox &box = glyphs.back().box;
        if (box.width == 0 || box.height == 0)
            continue;
        const int right = std::max(all.x + all.width, box.x + box.width);
        const int top = std::max(all.y + all.height, box.y + box.height);
        all.x = std::min(all.x, box.x);
        all.y = std::min(all.y, box.y);
        all.width = right - all.x;
        all.height = top - all.y;
    }
    const int size = std::max(1, font.ascent + font.descent);
    std::vector<std::string> properties;
    if (!font.copyright.empty())
        properties.push_back("COPYRIGHT \"" + font.copyright + "\"");
    properties.push_back("FONT_ASCENT " + std::to_string(font.ascent));
    properties.push_back("FONT_DESCENT " + std::to_string(font.descent));
    if (font.defaultCharacter)
        properties.push_back("DEFAULT_CHAR " + std::to_string(static_cast<unsigned>(*font.defaultCharacter)));
    std::string text = "STARTFONT 2.1\nFONT " + (font.name.empty() ? std::string("Tessaldo") : font.name) + "\nSIZE "
                       + std::to_string(size) + " " + std::to_string(kResolution) + " " + std::to_string(kResolution)
                       + "\nFONTBOUNDINGBOX " + BoxText(all) + "\nSTARTPROPERTIES " + std::to_string(properties.size())
                       + "\n";
    for (const std::string &line : properties)
        text += line + "\n";
    text += "ENDPROPERTIES\nCHARS " + std::to_string(glyphs.size()) + "\n";
    for (const BitmapGlyph &glyph : glyphs)
        text += GlyphText(glyph, size);
    return text + "ENDFONT\n";
}

BdfReading ReadBdfFont(std::string_view text, LcdType type)
{
    return BdfParser(text, type).Read();
}

} // namespace tessaldo
