#include "core/code/CodeReader.h"

#include "core/code/CodeGenerator.h"
#include "core/code/CodeLexer.h"
#include "core/code/CodeValues.h"
#include "core/code/LayoutGuess.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tessaldo {
namespace {

// What tells that values are the module's own.
constexpr std::string_view kBeginsWithCommand = "its values begin with 0xA4";
constexpr std::string_view kWhatAPictureIs = "a picture is 32 values, or 33 beginning with 0xA4";
constexpr std::size_t kPictureSize = PictureBytes{}.size();
// The most bytes an array's values are kept of: 64 pictures of 1024 x 1024,
// which an array of pictures or an animation's frames may hold.
constexpr std::size_t kMostBytes = std::size_t{kLargestSide} * kLargestSide / 8 * 64;
constexpr std::string_view kXbmBits = "_bits";
// The endings firmware gives a bitmap's name beside the defines of its sides:
// X11's NAME_bits, and NAME_data, NAME_bmp, NAME_bitmap, NAME_img of
// Adafruit's examples, Marlin's screens and the converters people use.
constexpr std::array<std::string_view, 5> kBitmapEndings{kXbmBits, "_data", "_bmp", "_bitmap", "_img"};
// What stands between an array's name and its '=' is a few tokens: sizes,
// attributes, an address; looking no further keeps junk linear.
constexpr std::size_t kLongestDeclaration = 64;
constexpr std::size_t kRereadsOfText = 8;

std::string Count(std::size_t count, const std::string &what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Place(const Token &token)
{
    return "line " + std::to_string(token.line) + ", column " + std::to_string(token.column);
}

// The values of a list as they are read: all of them counted, the bytes of
// the first that a picture of any size can take kept, and the first problem.
struct Values {
    std::vector<std::uint8_t> bytes;
    std::size_t count = 0;
    std::string problem;
    bool firstUnread = false;
    bool countInDoubt = false;  // a value may be several
    std::size_t zeroFilled = 0; // of count, those C adds after the ones written

    void Add(const ByteValue &value)
    {
        if (count == 0)
            firstUnread = !value.problem.empty();
        if (problem.empty())
            problem = value.problem;
        countInDoubt = countInDoubt || value.maybeSeveral;
        if (bytes.size() < kMostBytes)
            bytes.push_back(value.byte);
        ++count;
    }

    void Append(const Values &more)
    {
        if (count == 0)
            firstUnread = more.firstUnread;
        if (problem.empty())
            problem = more.problem;
        countInDoubt = countInDoubt || more.countInDoubt;
        bytes.insert(bytes.end(), more.bytes.begin(),
                     more.bytes.begin()
                         + static_cast<std::ptrdiff_t>(std::min(more.bytes.size(), kMostBytes - bytes.size())));
        count += more.count;
    }

    bool BeginsWithCommand() const { return count > 0 && !firstUnread && bytes.front() == kPictureCommand; }

    // 32 values, or 33 of which the first is 0xA4 or cannot be told.
    bool HavePictureLength() const
    {
        return count == kPictureSize || (count == kPictureSize + 1 && (firstUnread || BeginsWithCommand()));
    }

    // C fills what an initialiser leaves out with zeros: `[32] = {0}` is a blank picture.
    void ZeroFillTo(std::size_t length)
    {
        if (length <= count)
            return;
        bytes.resize(std::max(bytes.size(), std::min(length, kMostBytes)), 0);
        zeroFilled += length - count;
        count = length;
    }

    // "40 values (32 given, the rest zero)": the count a compiler sees, and what the text wrote.
    std::string Counted() const
    {
        const std::string counted = Count(count, "value");
        return zeroFilled == 0 ? counted
                               : counted + " (" + std::to_string(count - zeroFilled) + " given, the rest zero)";
    }

    void Clear() { *this = {}; }
};

// The length written in a one-dimensional array's brackets, as `[32]`; none for `[]` or more dimensions.
std::optional<std::size_t> DeclaredLength(std::string_view sizes)
{
    if (sizes.size() < 3 || sizes.front() != '[' || sizes.back() != ']')
        return std::nullopt;
    const std::string_view inside = Trimmed(sizes.substr(1, sizes.size() - 2));
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(inside.data(), inside.data() + inside.size(), length);
    if (error != std::errc() || end != inside.data() + inside.size())
        return std::nullopt;
    return length;
}

// `counted` says whose values they are: "found", "the array logo has".
CodePicture PictureFromValues(std::string name, const Values &values, const std::string &counted)
{
    CodePicture picture{std::move(name), {}, values.problem, std::nullopt};
    if (!picture.problem.empty())
        return picture;
    if (!values.HavePictureLength()) {
        picture.problem = counted + " " + Count(values.count, "value") + "; " + std::string(kWhatAPictureIs);
        return picture;
    }
    std::copy(values.bytes.end() - static_cast<std::ptrdiff_t>(kPictureSize), values.bytes.end(),
              picture.bytes.begin());
    if (values.count == kPictureSize + 1) {
        picture.layout = BitLayout::Module; // only the module's pictures begin with its command
        picture.layoutEvidence = std::string(kBeginsWithCommand);
    }
    return picture;
}

// The size two whole numbers of the code make, where they are sides at all:
// one far beyond any picture's is none, and not worked with.
std::optional<PictureSize> ToldSides(std::optional<std::int64_t> width, std::optional<std::int64_t> height)
{
    constexpr std::int64_t kLongest = std::int64_t{kLargestSide} * 8;
    if (!width || !height || *width < 0 || *height < 0 || *width > kLongest || *height > kLongest)
        return std::nullopt;
    return PictureSize{static_cast<int>(*width), static_cast<int>(*height)};
}

void PassOver(CodeReading &reading, const PassedOverNote &note, const std::string &why)
{
    reading.PassOver(why);
    if (note)
        note(why);
}

// A printf of nothing but %c conversions with a constant for each.
struct PrintfCall {
    Token start;
    std::size_t conversions = 0;
    Values values;
};

std::size_t CharConversions(std::string_view literal, bool &onlyConversions)
{
    const std::string_view inside = literal.size() >= 2 ? literal.substr(1, literal.size() - 2) : "";
    std::size_t count = 0;
    onlyConversions = true;
    for (std::size_t i = 0; i < inside.size(); i += 2) {
        if (inside.substr(i, 2) != "%c") {
            onlyConversions = false;
            return 0;
        }
        ++count;
    }
    return count;
}

// A picture's printf lines begin with the command 0xA4 and go on until they
// have given 33 values. Other printf lines of constants (commands to the
// module, say) stand around them in firmware and are passed over; only in a
// text with no 0xA4 at all are they taken as the picture, which then needs
// its 32 values, or they are passed over.
class PrintfPictures {
public:
    PrintfPictures(CodeReading &reading, const PassedOverNote &note) : m_reading(reading), m_note(note) {}

    void Add(const PrintfCall &call)
    {
        if (call.conversions != call.values.count) {
            m_reading.pictures.push_back({Name(call.start),
                                          {},
                                          "the printf on " + Place(call.start) + " has "
                                              + Count(call.conversions, "%c conversion") + " but "
                                              + Count(call.values.count, "value"),
                                          std::nullopt});
            m_picture.Clear();
            return;
        }
        // 0xA4 is also a picture byte: it begins a picture only where none is being read.
        if (m_picture.count == 0 && call.values.BeginsWithCommand()) {
            m_sawCommand = true;
            m_pictureStart = call.start;
        } else if (m_picture.count == 0) {
            if (m_loose.count == 0)
                m_looseStart = call.start;
            m_loose.Append(call.values);
            return;
        }
        m_picture.Append(call.values);
        if (m_picture.count >= kPictureSize + 1)
            Flush();
    }

    // Ends the picture whose lines are being read, if any.
    void Flush() { Take(m_picture, m_pictureStart, false); }

    void Finish()
    {
        Flush();
        if (!m_sawCommand)
            Take(m_loose, m_looseStart, true);
    }

private:
    static std::string Name(const Token &start) { return "printf_line_" + std::to_string(start.line); }

    // `loose`: lines without the command, which are no picture unless they have a picture's length.
    void Take(Values &values, const Token &start, bool loose)
    {
        if (values.count == 0)
            return;
        CodePicture picture = PictureFromValues(Name(start), values, "the printf lines from " + Place(start) + " give");
        picture.layout = BitLayout::Module; // printf of %c is what goes down the module's serial line
        picture.layoutEvidence = "its printf lines send it to the module";
        if (loose && !values.HavePictureLength())
            PassOver(m_reading, m_note, picture.problem);
        else
            m_reading.pictures.push_back(std::move(picture));
        values.Clear();
    }

    CodeReading &m_reading;
    const PassedOverNote &m_note;
    Values m_picture;
    Token m_pictureStart{};
    Values m_loose;
    Token m_looseStart{};
    bool m_sawCommand = false;
};

// What an array's initialiser holds: values, or lists of values, or both.
struct ArrayContents {
    Values values;              // at the top level
    Values listed;              // of its lists, one after another
    std::size_t lists = 0;      // lists at the top level
    std::size_t listLength = 0; // values in the first of them
    bool irregular = false;     // lists of unequal length, or lists in lists
    std::size_t firstFrame = 0; // where its frames begin among the pictures
    bool frames = true;         // while every list is a picture's length
    bool closed = false;
    std::string doubt; // why some list's length cannot be told
};

std::string FrameIndex(std::size_t frame)
{
    std::string index = std::to_string(frame);
    index.insert(0, index.size() < 3 ? 3 - index.size() : 0, '0');
    return index;
}

bool IsOpening(const Token &token)
{
    return IsPunctuation(token, '(') || IsPunctuation(token, '[') || IsPunctuation(token, '{');
}

bool IsClosing(const Token &token)
{
    return IsPunctuation(token, ')') || IsPunctuation(token, ']') || IsPunctuation(token, '}');
}

class PictureFinder {
public:
    PictureFinder(std::string_view text, const PassedOverNote &note, const CommandLineDefines &defines,
                  const SizeReading &sizes)
        : m_text(text),
          m_values(text, defines),
          m_note(note),
          m_sizes(sizes),
          m_rereadLeft(kRereadsOfText * text.size())
    {
    }

    CodeReading Find()
    {
        ReadAround();
        Lexer lexer(m_text, nullptr, &m_values.Skipped());
        PrintfPictures printfs(m_reading, m_note);
        Values bare;
        bool onlyValues = true;
        int braces = 0;
        bool afterWord = false; // a type, say, before a name that is declared
        for (std::optional<Token> token = lexer.Next(); token; token = lexer.Next()) {
            onlyValues = onlyValues && TakeBare(*token, bare);
            braces = std::max(0, braces + (IsPunctuation(*token, '{') ? 1 : IsPunctuation(*token, '}') ? -1 : 0));
            const bool declaration = braces == 0 || afterWord;
            afterWord = token->kind == TokenKind::Identifier && token->text != "return";
            if (token->kind != TokenKind::Identifier)
                continue;
            Lexer call = lexer;
            Lexer array = lexer;
            if (std::optional<PrintfCall> picture = PictureCall(call, *token)) {
                printfs.Add(*picture);
                lexer = call;
            } else if (const std::optional<std::string_view> sizes = ArrayStart(array)) {
                printfs.Flush();
                lexer = array;
                ReadArray(lexer, *token, *sizes, declaration);
            }
        }
        printfs.Finish();
        if (m_reading.pictures.empty() && onlyValues && bare.count > 0)
            m_reading.pictures.push_back(PictureFromValues("picture", bare, "found"));
        ApplyDrawingCalls();
        DropRepeats();
        return std::move(m_reading);
    }

private:
    // The layout a drawing call takes, none where calls of two layouts draw
    // it, and where it was said; the size likewise.
    struct DrawnIn {
        std::optional<BitLayout> layout;
        std::string evidence;
        std::optional<PictureSize> size;
        std::string sizeEvidence;
        bool layoutsDiffer = false; // calls of two layouts draw it
    };
    // A drawing call as written: its arguments' tokens.
    struct DrawingCall {
        Token call;
        bool member = false; // of an object or a class: `arduboy.drawBitmap`, `Arduboy2::drawBitmap`
        std::vector<std::vector<Token>> arguments;
    };

    // The index of a set that names an array, and where it stands.
    struct IndexOfArrays {
        std::string name;
        std::size_t offset = 0;
    };

    // What the text says of its arrays besides their values, read before
    // them, since it often stands after them: the calls that draw them, the
    // named constants their sides are given by, and the indexes of a set.
    void ReadAround()
    {
        Lexer lexer(m_text, nullptr, &m_values.Skipped());
        std::vector<DrawingCall> calls;
        bool constant = false; // in a declaration of constants
        bool member = false;   // after '.', "->" or "::": a call of an object's or a class's function
        for (std::optional<Token> token = lexer.Next(); token; token = lexer.Next()) {
            const bool afterMember = std::exchange(member, IsPunctuation(*token, '.') || IsPunctuation(*token, '>')
                                                               || IsPunctuation(*token, ':'));
            if (IsPunctuation(*token, ';') || IsPunctuation(*token, '{') || IsPunctuation(*token, '}'))
                constant = false;
            if (token->kind != TokenKind::Identifier)
                continue;
            if (token->text == "const" || token->text == "constexpr") {
                constant = true;
                continue;
            }
            Lexer after = lexer;
            if (IsDrawingCall(token->text)) {
                if (std::optional<DrawingCall> call = ReadDrawingCall(after, *token, afterMember))
                    calls.push_back(std::move(*call));
                continue;
            }
            if (!m_sizes.toldSizes)
                continue;
            if (constant)
                NoteConstant(after, *token);
            Lexer index = lexer;
            NoteIndex(index, *token);
        }
        m_includesArduboy2 = Includes("Arduboy2.h");
        m_includesAdafruitGfx = Includes("Adafruit_GFX.h");
        for (const DrawingCall &call : calls)
            NoteDrawingCall(call);
    }

    // The display libraries' calls that draw an array (drawTile only where
    // sizes are read: a 16 x 16 picture is no row of tiles).
    bool IsDrawingCall(std::string_view function) const
    {
        return function == "drawXBM" || function == "drawXBMP" || function == "drawXbm" || function == "drawBitmap"
               || (function == "drawTile" && m_sizes.toldSizes);
    }

    // Whether the text includes `header`, as `#include <Arduboy2.h>`.
    bool Includes(std::string_view header) const
    {
        for (std::size_t at = m_text.find(header); at != std::string_view::npos; at = m_text.find(header, at + 1)) {
            const std::size_t lineStart = m_text.rfind('\n', at) + 1; // npos + 1 is the text's start
            const std::string_view before = Trimmed(m_text.substr(lineStart, at - lineStart));
            if (before.starts_with('#') && before.find("include") != std::string_view::npos)
                return true;
        }
        return false;
    }

    // The layout a call draws the array `at` in, where it tells one, and how
    // it tells it: u8g2's drawXBM and drawXBMP (and ThingPulse's drawXbm) an
    // X BitMap, u8x8's drawTile its tiles, u8g2's drawBitmap(x, y, cnt, h,
    // NAME) rows. drawBitmap(x, y, NAME, w, h, ...) is Adafruit GFX's rows,
    // which must be given a colour, or Arduboy2's pages, which need not be:
    // a sketch that includes Arduboy2.h and not Adafruit_GFX.h, or five
    // arguments to an object's drawBitmap, say pages; six without Arduboy2.h
    // say rows; any other such call could be either library's, and tells nothing.
    std::pair<std::optional<BitLayout>, std::string> CallLayout(const DrawingCall &call, std::size_t at) const
    {
        const std::string_view function = call.call.text;
        const std::string line = " on line " + std::to_string(call.call.line);
        const std::string drawn = std::string(function) + " draws it" + line;
        if (function == "drawTile")
            return {BitLayout::Tiles, drawn};
        if (function != "drawBitmap")
            return {BitLayout::Xbm, drawn};
        if (at == 4)
            return {BitLayout::Rows, drawn};
        const bool arduboy = m_includesArduboy2;
        const bool adafruit = m_includesAdafruitGfx;
        const std::size_t count = call.arguments.size();
        if (arduboy && !adafruit)
            return {BitLayout::Pages, "Arduboy2's drawBitmap draws it" + line + ", and the text includes Arduboy2.h"};
        if (count == 5 && (call.member || arduboy))
            return {BitLayout::Pages, "Arduboy2's drawBitmap, which takes no colour, draws it" + line};
        if (count >= 6 && !arduboy)
            return {BitLayout::Rows, drawn};
        return {std::nullopt, {}};
    }

    // Where the array stands among the call's arguments: u8g2.drawXBM(x, y,
    // w, h, NAME); display.drawBitmap(x, y, NAME, w, h, color) for Adafruit
    // GFX, u8g2.drawBitmap(x, y, cnt, h, NAME) for u8g2; u8x8.drawTile(x, y,
    // cnt, NAME).
    static bool NamesTheArray(std::string_view function, std::size_t argument, std::size_t count)
    {
        if (function == "drawBitmap")
            return (argument == 2 && count >= 5) || (argument == 4 && count == 5);
        if (function == "drawTile")
            return argument == 3 && count == 4;
        return argument == 4 && count == 5;
    }

    static std::optional<DrawingCall> ReadDrawingCall(Lexer &lexer, const Token &call, bool member)
    {
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '('))
            return std::nullopt;
        DrawingCall read{call, member, std::vector<std::vector<Token>>(1)};
        int depth = 0;
        for (std::size_t count = 0; (token = lexer.Next()) && count < kLongestDeclaration; ++count) {
            if (depth == 0 && IsPunctuation(*token, ')'))
                break;
            if (depth == 0 && IsPunctuation(*token, ',')) {
                read.arguments.emplace_back();
                continue;
            }
            depth += IsOpening(*token) ? 1 : IsClosing(*token) ? -1 : 0;
            read.arguments.back().push_back(*token);
        }
        if (!token || !IsPunctuation(*token, ')'))
            return std::nullopt;
        return read;
    }

    // The whole number an argument or a name stands for, where the text tells it.
    std::optional<std::int64_t> NumberOf(std::span<const Token> tokens, std::size_t offset) const
    {
        if (tokens.empty())
            return std::nullopt;
        const std::size_t begin = tokens.front().offset;
        const std::size_t end = tokens.back().offset + tokens.back().text.size();
        return m_values.WholeNumber(m_text.substr(begin, end - begin), offset, m_constants);
    }

    // The size a drawing call draws the array `at` at: drawXBM's and
    // Adafruit's drawBitmap's w and h; u8g2's drawBitmap's cnt bytes a row;
    // drawTile's cnt tiles in a row.
    std::optional<PictureSize> CallSize(const DrawingCall &call, std::size_t at) const
    {
        const auto number = [&](std::size_t argument) { return NumberOf(call.arguments[argument], call.call.offset); };
        const std::string_view function = call.call.text;
        std::optional<std::int64_t> width;
        std::optional<std::int64_t> height;
        // drawTile's tiles and u8g2's drawBitmap's bytes are eight dots wide.
        const auto eights = [](std::optional<std::int64_t> count) {
            return count && *count >= 0 && *count <= kLargestSide ? std::optional(*count * 8) : std::nullopt;
        };
        if (function == "drawTile") {
            width = eights(number(2));
            height = 8;
        } else if (function == "drawBitmap" && at == 4) {
            width = eights(number(2));
            height = number(3);
        } else {
            width = number(at == 2 ? 3 : 2);
            height = number(at == 2 ? 4 : 3);
        }
        return ToldSides(width, height);
    }

    // Notes the array a drawing call takes, an argument that is one name, and
    // the size it is drawn at; one drawn with calls of two layouts has none
    // of them, and one drawn at two sizes none of those.
    void NoteDrawingCall(const DrawingCall &call)
    {
        const std::string_view function = call.call.text;
        const std::string line = std::to_string(call.call.line);
        for (std::size_t at = 0; at < call.arguments.size(); ++at) {
            const std::optional<std::string_view> array = ArrayNamed(call.arguments[at]);
            if (!array || !NamesTheArray(function, at, call.arguments.size()))
                continue;
            const std::optional<PictureSize> size = m_sizes.toldSizes ? CallSize(call, at) : std::nullopt;
            const std::string sizeEvidence =
                size ? std::string(function) + " draws it " + PictureSizeText(*size) + " on line " + line : "";
            auto [layout, evidence] = CallLayout(call, at);
            const auto [noted, added] =
                m_drawnIn.emplace(std::string(*array), DrawnIn{layout, evidence, size, sizeEvidence, false});
            if (added)
                continue;
            DrawnIn &drawn = noted->second;
            if (drawn.size != size)
                drawn.size = std::nullopt;
            if (!layout) // a call that tells no layout leaves it as the others tell it
                continue;
            if (!drawn.layout && !drawn.layoutsDiffer) {
                drawn.layout = layout;
                drawn.evidence = std::move(evidence);
            }
            drawn.layoutsDiffer = drawn.layoutsDiffer || drawn.layout != layout;
            if (drawn.layoutsDiffer)
                drawn.layout = std::nullopt;
        }
    }

    // The array an argument names: NAME, or NAME[i], one picture of an array of them.
    static std::optional<std::string_view> ArrayNamed(std::span<const Token> argument)
    {
        if (argument.empty() || argument.front().kind != TokenKind::Identifier)
            return std::nullopt;
        if (argument.size() == 1
            || (argument.size() > 3 && IsPunctuation(argument[1], '[') && IsPunctuation(argument.back(), ']')))
            return argument.front().text;
        return std::nullopt;
    }

    // `const int W = 128, H = 64;`: the expression each constant is given.
    void NoteConstant(Lexer &lexer, const Token &name)
    {
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '='))
            return;
        std::vector<Token> value;
        int depth = 0;
        for (std::size_t count = 0; (token = lexer.Next()) && count < kLongestDeclaration; ++count) {
            if (depth == 0 && (IsPunctuation(*token, ',') || IsPunctuation(*token, ';')))
                break;
            depth += IsOpening(*token) ? 1 : IsClosing(*token) ? -1 : 0;
            value.push_back(*token);
        }
        if (!token || value.empty())
            return;
        const std::size_t end = value.back().offset + value.back().text.size();
        m_constants.emplace(name.text, m_text.substr(value.front().offset, end - value.front().offset));
    }

    // `NAME[] = {a, b, c}`, a set's index of its arrays, as header writes it
    // with NAME_WIDTH and NAME_HEIGHT beside it: the arrays it names.
    void NoteIndex(Lexer &lexer, const Token &name)
    {
        if (!ArrayStart(lexer))
            return;
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '{'))
            return;
        std::vector<std::string_view> named;
        std::optional<std::string_view> last; // the element's name so far
        while ((token = lexer.Next())) {
            if (IsPunctuation(*token, ',') || IsPunctuation(*token, '}')) {
                if (!last)
                    break;
                named.push_back(*last);
                last.reset();
                if (IsPunctuation(*token, '}'))
                    break;
            } else if (token->kind == TokenKind::Identifier && !IsArduinoBinary(token->text)) {
                last = token->text;
            } else if (!IsPunctuation(*token, '&') && !IsPunctuation(*token, '(') && !IsPunctuation(*token, ')')
                       && !IsPunctuation(*token, '*')) {
                return; // values, not names: no index
            }
        }
        if (!token || !IsPunctuation(*token, '}'))
            return;
        for (const std::string_view array : named)
            m_indexOf.emplace(std::string(array), IndexOfArrays{std::string(name.text), name.offset});
        m_indexes.emplace(name.text);
    }

    // Branches of a conditional that give one array twice (#ifdef __AVR__ with
    // PROGMEM, #else without) give one picture where both hold the same.
    void DropRepeats()
    {
        std::vector<CodePicture> &pictures = m_reading.pictures;
        std::unordered_map<std::string, std::size_t> first; // by name, where it now stands
        std::size_t kept = 0;
        for (CodePicture &picture : pictures) {
            const auto [earlier, added] = first.emplace(picture.name, kept);
            const CodePicture &same = pictures[earlier->second];
            if (!added && same.problem.empty() && picture.problem.empty() && same.bytes == picture.bytes
                && same.layout == picture.layout && same.size == picture.size && same.sizedBytes == picture.sizedBytes)
                continue;
            if (&pictures[kept] != &picture)
                pictures[kept] = std::move(picture);
            ++kept;
        }
        pictures.resize(kept);
    }

    // A picture whose code tells no layout of its own is in the one its drawing calls take.
    void ApplyDrawingCalls()
    {
        for (CodePicture &picture : m_reading.pictures) {
            const auto drawn = m_drawnIn.find(picture.name);
            if (!picture.layout && drawn != m_drawnIn.end() && drawn->second.layout) {
                picture.layout = drawn->second.layout;
                picture.layoutEvidence = drawn->second.evidence;
            }
        }
    }

    // Text of nothing but numbers and list punctuation is values copied on their own.
    bool TakeBare(const Token &token, Values &bare) const
    {
        if (token.kind == TokenKind::Number) {
            bare.Add(m_values.Read({&token, 1}));
            return true;
        }
        return IsPunctuation(token, ',') || IsPunctuation(token, '{') || IsPunctuation(token, '}')
               || IsPunctuation(token, ';');
    }

    std::optional<PrintfCall> PictureCall(Lexer &lexer, const Token &start) const
    {
        if (start.text != "printf")
            return std::nullopt;
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '('))
            return std::nullopt;
        PrintfCall call{start, 0, {}};
        bool anyString = false;
        for (token = lexer.Next(); token && token->kind == TokenKind::String; token = lexer.Next()) {
            bool only = false;
            call.conversions += CharConversions(token->text, only);
            if (!only)
                return std::nullopt;
            anyString = true;
        }
        for (; anyString && token && IsPunctuation(*token, ','); token = lexer.Next()) {
            token = lexer.Next();
            if (!token || token->kind != TokenKind::Number)
                return std::nullopt; // a variable or an expression: not a picture's constant
            call.values.Add(m_values.Read({&*token, 1}));
        }
        if (!anyString || !token || !IsPunctuation(*token, ')'))
            return std::nullopt;
        return call;
    }

    // `[..]... attributes =` after an array's name, the lexer moved past the
    // '=': the sizes as written.
    std::optional<std::string_view> ArrayStart(Lexer &lexer) const
    {
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '['))
            return std::nullopt;
        const std::size_t sizesStart = token->offset;
        std::size_t sizesEnd = sizesStart;
        // The sizes in brackets, then what embedded compilers let stand there:
        // PROGMEM, __attribute__((progmem)), @ 0x100, _at_ 0x100.
        bool inSizes = true;
        int depth = 0;
        for (std::size_t read = 0; token && read < kLongestDeclaration; token = lexer.Next(), ++read) {
            if (IsPunctuation(*token, ';') || IsPunctuation(*token, '{') || IsPunctuation(*token, '}'))
                return std::nullopt;
            if (depth == 0 && IsPunctuation(*token, '='))
                return m_text.substr(sizesStart, sizesEnd - sizesStart);
            if (depth == 0) {
                const bool size = IsPunctuation(*token, '[');
                if (size && !inSizes)
                    return std::nullopt;
                inSizes = size;
                if (!size && !IsPunctuation(*token, '(') && !IsPunctuation(*token, '@')
                    && token->kind != TokenKind::Identifier && token->kind != TokenKind::Number)
                    return std::nullopt;
            }
            depth += IsOpening(*token) ? 1 : IsClosing(*token) ? -1 : 0;
            if (depth < 0)
                return std::nullopt;
            if (depth == 0 && inSizes)
                sizesEnd = token->offset + 1;
        }
        return std::nullopt;
    }

    // The tokens of one value from `first` on, up to the ',' or '}' that ends
    // it, which is given back (nothing at the end of the text). Only the
    // first tokens are kept: a longer value is no single one anyway.
    static std::optional<Token> ValueTokens(Lexer &lexer, const Token &first, std::vector<Token> &tokens)
    {
        tokens.clear();
        int depth = 0;
        for (std::optional<Token> token = first; token; token = lexer.Next()) {
            if (depth == 0 && (IsPunctuation(*token, ',') || IsPunctuation(*token, '}')))
                return token;
            depth = std::max(0, depth + (IsOpening(*token) ? 1 : IsClosing(*token) ? -1 : 0));
            if (tokens.size() <= ValueReader::kLongestValue)
                tokens.push_back(*token);
        }
        return std::nullopt;
    }

    // A list's values from after its '{' to its '}'; `nested` tells of lists in it.
    Values ReadList(Lexer &lexer, bool &nested) const
    {
        Values values;
        std::vector<Token> tokens;
        for (std::optional<Token> token = lexer.Next(); token && !IsPunctuation(*token, '}'); token = lexer.Next()) {
            if (IsPunctuation(*token, ','))
                continue;
            nested = nested || IsPunctuation(*token, '{');
            const std::optional<Token> end = ValueTokens(lexer, *token, tokens);
            values.Add(m_values.Read(tokens));
            if (!end || IsPunctuation(*end, '}'))
                break;
        }
        return values;
    }

    // A list at the top of an array's initialiser: one frame of an animation
    // as `header --frames` writes it, named NAME_000, NAME_001, ...
    void AddList(Lexer &lexer, const std::string &name, ArrayContents &contents)
    {
        bool nested = false;
        const Values list = ReadList(lexer, nested);
        contents.listed.Append(list);
        const std::size_t frame = contents.lists++;
        if (list.countInDoubt && contents.doubt.empty())
            contents.doubt = list.problem;
        if (frame == 0)
            contents.listLength = list.count;
        contents.irregular = contents.irregular || nested || list.count != contents.listLength;
        contents.frames = contents.frames && !contents.irregular && list.HavePictureLength();
        if (!contents.frames) {
            DropFrames(contents);
            return;
        }
        const std::string index = FrameIndex(frame);
        m_reading.pictures.push_back(
            PictureFromValues(name + "_" + index, list, "frame " + index + " of the array " + name + " has"));
    }

    // Frames are added as they are read, so that an animation is never held twice.
    void DropFrames(ArrayContents &contents)
    {
        contents.frames = false;
        m_reading.pictures.erase(m_reading.pictures.begin() + static_cast<std::ptrdiff_t>(contents.firstFrame),
                                 m_reading.pictures.end());
    }

    // `= "..." "..."`: the bytes C puts in the array, with the NUL it adds
    // when no length is declared (a declared one fills it in as it does a list).
    void ReadString(Lexer &lexer, Token literal, const Token &nameToken, std::string_view sizes)
    {
        ArrayContents contents;
        const auto add = [&contents](const ByteValue &value) { contents.values.Add(value); };
        for (;;) {
            m_values.ReadString(literal, add);
            Lexer next = lexer;
            const std::optional<Token> token = next.Next();
            if (!token || token->kind != TokenKind::String)
                break;
            literal = *token;
            lexer = next;
        }
        if (!DeclaredLength(sizes))
            contents.values.Add({});
        contents.closed = true;
        Take(nameToken, sizes, contents);
    }

    void ReadArray(Lexer &lexer, const Token &nameToken, std::string_view sizes, bool declaration)
    {
        const std::string name(nameToken.text);
        ArrayContents contents;
        contents.firstFrame = m_reading.pictures.size();
        std::optional<Token> token = lexer.Next();
        if (token && token->kind == TokenKind::String && declaration)
            return ReadString(lexer, *token, nameToken, sizes);
        if (!token || !IsPunctuation(*token, '{'))
            return; // an element given a value in code, not an array's initialiser
        // An array opened in a branch that the text does not settle may go on
        // after the #endif, as `#ifdef __AVR__` with PROGMEM and `#else`
        // without give it: it is read with that branch taken, and then the
        // text reads on in the next branch, which may open it again.
        const std::optional<SkippedText> laterBranches =
            m_rereadLeft > 0 ? m_values.Unsettled().LaterBranches(token->offset) : std::nullopt;
        Lexer reading = lexer;
        reading.AlsoLeaveOut(laterBranches);
        ReadInitialiser(reading, name, contents);
        if (reading.LeftOut()) {
            m_rereadLeft -= std::min(m_rereadLeft, reading.Offset() - laterBranches->begin);
            lexer.SkipTo(laterBranches->begin);
        } else {
            reading.AlsoLeaveOut(std::nullopt);
            lexer = reading;
        }
        if (contents.values.count > 0 || !contents.closed || !contents.doubt.empty())
            DropFrames(contents);
        if (contents.closed)
            Take(nameToken, sizes, contents);
        else
            PassOver(m_reading, m_note,
                     "the array " + name + " on line " + std::to_string(nameToken.line) + " has no closing brace");
    }

    // An array's values from after its '{' to its '}'.
    void ReadInitialiser(Lexer &lexer, const std::string &name, ArrayContents &contents)
    {
        std::optional<Token> token;
        std::vector<Token> tokens;
        while (!contents.closed && (token = lexer.Next())) {
            if (IsPunctuation(*token, '{')) {
                AddList(lexer, name, contents);
            } else if (IsPunctuation(*token, '}')) {
                contents.closed = true;
            } else if (!IsPunctuation(*token, ',')) {
                const std::optional<Token> end = ValueTokens(lexer, *token, tokens);
                contents.values.Add(m_values.Read(tokens));
                if (!end)
                    break;
                contents.closed = IsPunctuation(*end, '}');
            }
        }
    }

    void Take(const Token &nameToken, std::string_view sizes, const ArrayContents &contents)
    {
        const std::string name(nameToken.text);
        const std::string line = " on line " + std::to_string(nameToken.line);
        // A value that may be several leaves the length unknown: such an array may be a picture.
        if (contents.values.countInDoubt || !contents.doubt.empty()) {
            m_reading.pictures.push_back(
                {name, {}, contents.values.countInDoubt ? contents.values.problem : contents.doubt, std::nullopt});
            return;
        }
        Values values = contents.values;
        if (const std::optional<std::size_t> declared = DeclaredLength(sizes); declared && contents.lists == 0) {
            if (values.count > *declared) { // as a compiler, which refuses them
                m_reading.pictures.push_back({name,
                                              {},
                                              "the array " + name + line + " has " + Count(values.count, "value")
                                                  + ", more than the " + std::to_string(*declared)
                                                  + " its brackets declare",
                                              std::nullopt});
                return;
            }
            values.ZeroFillTo(*declared);
        }
        if (m_sizes.toldSizes && TakeSized(nameToken, sizes, contents, values))
            return;
        if (contents.lists == 0 && values.HavePictureLength()) {
            m_reading.pictures.push_back(PictureFromValues(name, values, "the array " + name + " has"));
            const std::optional<ToldSize> beside = SidesBeside(name, nameToken.offset, values.count, DrawnWith(name));
            if (beside && IsModuleSize(beside->size)) {
                // An X BitMap's picture is NAME, as code --format xbm names its three lines after it.
                m_reading.pictures.back().name = beside->name;
                m_reading.pictures.back().layout = beside->layout;
                m_reading.pictures.back().layoutEvidence = beside->layoutEvidence;
            }
        } else if (contents.lists == 0)
            PassOver(m_reading, m_note, "the array " + name + line + " has " + values.Counted() + "; " + WhatFits());
        else if (contents.values.count > 0 || contents.irregular)
            PassOver(m_reading, m_note,
                     "the array " + name + line + " holds lists of unequal length or lists in lists; " + WhatFits());
        else if (!contents.frames)
            PassOver(m_reading, m_note,
                     "the array " + name + std::string(sizes) + line + " is " + Count(contents.lists, "list") + " of "
                         + Count(contents.listLength, "value") + "; " + WhatFits());
    }

    // What a picture is, where only 16 x 16 pictures are read, or else the
    // remedy: the size the code would have to tell, or --size.
    std::string WhatFits() const
    {
        return m_sizes.toldSizes
                   ? std::string(kWhatAPictureIs) + ", or of another size where its code or the size given tells it"
                   : std::string(kWhatAPictureIs);
    }

    // A size the code tells for an array, how it tells it, and the layout
    // that comes with it.
    struct ToldSize {
        PictureSize size;
        std::string evidence; // "logo_width and logo_height say"
        std::string name;     // the picture's: an X BitMap is NAME, its array NAME_bits
        std::optional<BitLayout> layout;
        std::string layoutEvidence;
    };

    // An array's rows and columns as its brackets give them, `[10][128]`; the
    // rows counted where its first brackets are empty.
    struct Shape {
        int rows = 0;
        int columns = 0;
    };

    // An array whose code tells a size other than 16 x 16, or that the size
    // given is read at: a picture of that size, pictures of that size where
    // its shape holds one in each row, or passed over with the reason. False
    // where neither holds, or the size is 16 x 16, which is read as it always
    // has been (so `[16][2]` stays no picture).
    bool TakeSized(const Token &nameToken, std::string_view sizes, const ArrayContents &contents, Values values)
    {
        const std::string name(nameToken.text);
        const bool listed = contents.lists > 0;
        if ((listed && (contents.values.count > 0 || contents.irregular || contents.frames))
            || m_indexes.contains(name))
            return false;
        if (listed)
            values = contents.listed;
        const DrawnIn *drawn = DrawnWith(name);
        const std::optional<Shape> shape = ShapeOf(nameToken.offset, sizes, contents, values);
        std::optional<ToldSize> told = SizeTold(name, nameToken.offset, values.count, drawn);
        const auto [unsaidLayout, unsaidEvidence] = LayoutWithoutSize(drawn);
        if (!told && m_sizes.unsaid)
            told = ToldSize{*m_sizes.unsaid, {}, name, unsaidLayout, unsaidEvidence};
        const std::string line = " on line " + std::to_string(nameToken.line);
        if (shape && shape->rows > 1 && values.count <= values.bytes.size()
            && (told ? HoldsOneEach(*shape, *told) : !IsOnePicture(*shape)))
            return TakePictures(name + std::string(sizes) + line, *shape, told, values, drawn);
        if (!told && shape)
            told = ShapeSize(name, sizes, *shape, drawn);
        const std::string what = "the array " + name + line + " has " + values.Counted();
        if (!told) {
            if (!listed && !values.HavePictureLength())
                KeepUnsized({name, what, values.bytes, unsaidLayout, unsaidEvidence, SizesFitting(values.count)},
                            values);
            return false;
        }
        if (IsModuleSize(told->size))
            return false;
        const std::string as = told->evidence.empty() ? "" : ", as " + told->evidence + ",";
        if (!IsPictureSize(told->size)) {
            PassOver(m_reading, m_note,
                     what + ", but its picture" + as + " would be " + PictureSizeText(told->size)
                         + ", and a picture is 1 to " + std::to_string(kLargestSide) + " dots each way");
            return true;
        }
        const std::span<const BitLayout> layouts = LayoutsOf(*told);
        if (std::none_of(layouts.begin(), layouts.end(),
                         [&](BitLayout layout) { return LayoutByteCount(layout, told->size) == values.count; })) {
            PassOver(m_reading, m_note,
                     what + ", but at " + PictureSizeText(told->size) + as + " its picture takes "
                         + BytesTaken(told->size, layouts));
            return true;
        }
        AddSized(*told, told->name, values.problem, {values.bytes.data(), values.count});
        return true;
    }

    static std::span<const BitLayout> LayoutsOf(const ToldSize &told)
    {
        return told.layout ? std::span<const BitLayout>(&*told.layout, 1)
                           : std::span<const BitLayout>(kSizedGuessOrder);
    }

    // The layout of an array whose code tells no size: the one its calls
    // draw it in, else pages in a sketch for Arduboy2 alone, whose drawBitmap
    // and sprites draw pages.
    std::pair<std::optional<BitLayout>, std::string> LayoutWithoutSize(const DrawnIn *drawn) const
    {
        if (drawn && drawn->layout)
            return {drawn->layout, drawn->evidence};
        if (m_includesArduboy2 && !m_includesAdafruitGfx)
            return {BitLayout::Pages, "the text includes Arduboy2.h, which draws pages"};
        return {std::nullopt, {}};
    }

    // Whether each row of the shape holds one picture of the size told.
    static bool HoldsOneEach(Shape shape, const ToldSize &told)
    {
        const std::span<const BitLayout> layouts = LayoutsOf(told);
        return IsPictureSize(told.size) && std::any_of(layouts.begin(), layouts.end(), [&](BitLayout layout) {
                   return LayoutByteCount(layout, told.size) == static_cast<std::size_t>(shape.columns);
               });
    }

    // Whether a shape whose code tells no size is one picture, as `[64][16]`
    // is one 128 x 64, rather than a picture in each row, as `[10][128]` is
    // ten of 32 x 32: so where it makes a common display's size, or where a
    // row's bytes make no square picture.
    static bool IsOnePicture(Shape shape)
    {
        const PictureSize whole{shape.columns * 8, shape.rows};
        const int dots = shape.columns * 8;
        int side = 8;
        while (side * side < dots)
            side += 8;
        return std::find(kDisplaySizes.begin(), kDisplaySizes.end(), whole) != kDisplaySizes.end()
               || side * side != dots;
    }

    // An array of pictures, one in each row of its shape: each at the size
    // told, named NAME_000, NAME_001, ... as frames are, or where no size is
    // told, kept to propose the sizes a row's bytes fit.
    bool TakePictures(const std::string &where, Shape shape, const std::optional<ToldSize> &told, const Values &values,
                      const DrawnIn *drawn)
    {
        const auto each = static_cast<std::size_t>(shape.columns);
        if (!told) {
            const auto [layout, evidence] = LayoutWithoutSize(drawn);
            const std::string what = "the array " + where + " holds "
                                     + Count(static_cast<std::size_t>(shape.rows), "picture") + " of "
                                     + Count(each, "byte");
            KeepUnsized({ArrayName(where),
                         what,
                         {values.bytes.begin(),
                          values.bytes.begin() + static_cast<std::ptrdiff_t>(std::min(each, values.bytes.size()))},
                         layout,
                         evidence,
                         SizesTaking(each, true)},
                        values);
            PassOver(m_reading, m_note, what + "; its code tells no size");
            return true;
        }
        for (std::size_t row = 0; row < static_cast<std::size_t>(shape.rows); ++row) {
            const std::size_t start = std::min(row * each, values.bytes.size());
            const std::size_t end = std::min(start + each, values.bytes.size());
            AddSized(*told, told->name + "_" + FrameIndex(row), values.problem,
                     {values.bytes.data() + start, end - start});
        }
        return true;
    }

    void AddSized(const ToldSize &told, const std::string &name, const std::string &problem,
                  std::span<const std::uint8_t> bytes)
    {
        m_reading.pictures.push_back({name, {}, problem, told.layout, told.layoutEvidence});
        CodePicture &picture = m_reading.pictures.back();
        if (IsModuleSize(told.size) && bytes.size() == picture.bytes.size()) { // one of an array of 16 x 16 icons
            std::copy(bytes.begin(), bytes.end(), picture.bytes.begin());
            return;
        }
        picture.size = told.size;
        picture.sizedBytes.assign(bytes.begin(), bytes.end());
        picture.sizeEvidence = told.evidence;
    }

    // "528 bytes in rows, xbm or tiles and 504 in pages"
    static std::string BytesTaken(PictureSize size, std::span<const BitLayout> layouts)
    {
        std::vector<std::pair<std::size_t, std::vector<std::string_view>>> counts;
        for (const BitLayout layout : layouts) {
            const std::size_t count = LayoutByteCount(layout, size);
            const auto same =
                std::find_if(counts.begin(), counts.end(), [count](const auto &c) { return c.first == count; });
            (same == counts.end() ? counts.emplace_back(count, std::vector<std::string_view>()).second : same->second)
                .push_back(BitLayoutName(layout));
        }
        std::string text;
        for (const auto &[count, names] : counts) {
            text += text.empty() ? Count(count, "byte") : " and " + std::to_string(count);
            for (std::size_t at = 0; at < names.size(); ++at)
                text += std::string(at == 0 ? " in " : at + 1 == names.size() ? " or " : ", ") + std::string(names[at]);
        }
        return text;
    }

    // Kept where some size fits it, to propose that size.
    // The common displays' sizes `count` bytes fit, or where none does, every
    // size whose rows or pages they fill, so that a refusal can still propose
    // one; fewer bytes than an 8 x 8 icon takes are a table, no picture.
    static std::vector<PictureSize> SizesFitting(std::size_t count)
    {
        constexpr std::size_t kSmallestIcon = 8;
        std::vector<PictureSize> sizes = SizesTaking(count, false);
        return sizes.empty() && count >= kSmallestIcon ? SizesTaking(count, true) : sizes;
    }

    void KeepUnsized(UnsizedArray array, const Values &values)
    {
        if (m_sizes.unsaid || values.count > values.bytes.size() || !values.problem.empty() || array.sizes.empty())
            return;
        m_reading.unsized.push_back(std::move(array));
    }

    // What the code tells of the array's size, the first of: the defines of
    // its sides beside it, a drawing call, the defines beside a set's index.
    std::optional<ToldSize> SizeTold(const std::string &name, std::size_t offset, std::size_t count,
                                     const DrawnIn *drawn) const
    {
        if (std::optional<ToldSize> beside = SidesBeside(name, offset, count, drawn))
            return beside;
        const std::optional<BitLayout> drawnLayout = drawn ? drawn->layout : std::nullopt;
        const std::string drawnEvidence = drawn ? drawn->evidence : std::string();
        if (drawn && drawn->size)
            return ToldSize{*drawn->size, drawn->sizeEvidence, name, drawnLayout, drawnEvidence};
        if (const auto index = m_indexOf.find(name); index != m_indexOf.end()) {
            const std::string &set = index->second.name;
            if (const std::optional<PictureSize> size =
                    DefinedSize(set + "_WIDTH", set + "_HEIGHT", index->second.offset))
                return ToldSize{*size, set + "_WIDTH and " + set + "_HEIGHT beside the index " + set + " say", name,
                                drawnLayout, drawnEvidence};
        }
        return std::nullopt;
    }

    // The size the defines beside an array give, and its layout. Firmware
    // names them after the array (`code --format gfx`: NAME_WIDTH), after its
    // name without the ending it gives bitmaps (X11's logo_width beside
    // logo_bits, Adafruit's splash1_width beside splash1_data, LOGO_WIDTH
    // beside logo_bmp), or after that without its last part (Marlin's
    // STATUS_BED_WIDTH beside status_bed_on_bmp, STATUS_FAN_WIDTH beside
    // status_fan0_bmp). Marlin gives only the width, and takes the height
    // from the array's length.
    std::optional<ToldSize> SidesBeside(const std::string &name, std::size_t offset, std::size_t count,
                                        const DrawnIn *drawn) const
    {
        const std::string stem = StemOf(name);
        std::vector<std::pair<std::string, std::string>> sides; // the width's name and the height's
        for (const std::string &prefix : {name, stem, UpperCase(stem), UpperCase(Shortened(stem))}) {
            for (const auto &[width, height] : {std::pair{"_width", "_height"}, std::pair{"_WIDTH", "_HEIGHT"}}) {
                std::pair<std::string, std::string> named{prefix + width, prefix + height};
                if (std::find(sides.begin(), sides.end(), named) == sides.end())
                    sides.push_back(std::move(named));
            }
        }
        if (name.starts_with("custom_start_bmp"))
            sides.emplace_back("CUSTOM_BOOTSCREEN_BMPWIDTH", "CUSTOM_BOOTSCREEN_BMPHEIGHT");
        for (const auto &[widthName, heightName] : sides) {
            const std::optional<std::int64_t> width = m_values.WholeNumber(widthName, offset, {});
            if (!width || *width <= 0)
                continue;
            const std::string prefix = widthName.substr(0, widthName.rfind('_'));
            const auto [layout, layoutEvidence] = LayoutBeside(name, prefix, offset, drawn, widthName, heightName);
            if (const std::optional<PictureSize> size = DefinedSize(widthName, heightName, offset))
                return ToldSize{*size, std::string(widthName).append(" and ").append(heightName).append(" say"),
                                name.ends_with(kXbmBits) ? stem : name, layout, layoutEvidence};
            // Marlin's rows: as many as the array's length makes.
            const auto rowBytes = static_cast<std::size_t>((*width + 7) / 8);
            if (count == 0 || count % rowBytes != 0 || (layout && *layout != BitLayout::Rows))
                continue;
            const std::optional<PictureSize> size = ToldSides(width, static_cast<std::int64_t>(count / rowBytes));
            if (!size)
                continue;
            return ToldSize{*size,
                            widthName + " says it is " + std::to_string(*width) + " dots wide, and its "
                                + Count(count, "value") + " make " + std::to_string(size->height) + " rows",
                            name, BitLayout::Rows,
                            layout ? layoutEvidence : widthName + " stands beside it, and its rows are bytes"};
        }
        return std::nullopt;
    }

    // The layout of an array beside the defines of its sides: what
    // PREFIX_LAYOUT says; X BitMap's for NAME_bits, as X11 names them; pages
    // where PREFIX_PAGES counts them and tiles where PREFIX_TILE_WIDTH does
    // (as code --format pages and u8x8 write them); what a call draws it in;
    // else Adafruit GFX's rows, whose examples name their sides so.
    std::pair<std::optional<BitLayout>, std::string> LayoutBeside(const std::string &name, const std::string &prefix,
                                                                  std::size_t offset, const DrawnIn *drawn,
                                                                  const std::string &widthName,
                                                                  const std::string &heightName) const
    {
        // This program's headers number it: 1 X BitMap, 2 rows, 3 pages, 4 tiles.
        if (const std::optional<std::int64_t> said = m_values.WholeNumber(prefix + "_LAYOUT", offset, {});
            said && *said >= static_cast<int>(BitLayout::Xbm) && *said <= static_cast<int>(BitLayout::Tiles))
            return {static_cast<BitLayout>(*said), prefix + "_LAYOUT says it"};
        const std::string beside = widthName + " and " + heightName + " stand beside it";
        if (name.ends_with(kXbmBits))
            return {BitLayout::Xbm, beside};
        if (m_values.WholeNumber(prefix + "_PAGES", offset, {}))
            return {BitLayout::Pages, prefix + "_PAGES stands beside it"};
        if (m_values.WholeNumber(prefix + "_TILE_WIDTH", offset, {}))
            return {BitLayout::Tiles, prefix + "_TILE_WIDTH stands beside it"};
        if (drawn && drawn->layout)
            return {drawn->layout, drawn->evidence};
        return {BitLayout::Rows, beside};
    }

    // The name without the ending firmware gives a bitmap beside the defines of its sides.
    static std::string StemOf(const std::string &name)
    {
        for (const std::string_view ending : kBitmapEndings) {
            if (name.size() > ending.size() && name.ends_with(ending))
                return name.substr(0, name.size() - ending.size());
        }
        return name;
    }

    // The stem without its last part: its digits, or what follows its last '_'.
    static std::string Shortened(const std::string &stem)
    {
        const std::size_t digits = stem.find_last_not_of("0123456789");
        if (digits != std::string::npos && digits + 1 < stem.size())
            return stem.substr(0, digits + 1);
        const std::size_t part = stem.rfind('_');
        return part == std::string::npos || part == 0 ? stem : stem.substr(0, part);
    }

    static std::string UpperCase(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        return text;
    }

    // "Num" of "Num[10][128] on line 3".
    static std::string ArrayName(const std::string &where) { return where.substr(0, where.find('[')); }

    // `[64][16]` as rows and columns, filled: C fills what a flat initialiser
    // leaves out with zeros. None for any other brackets, or a length that
    // does not fit them.
    std::optional<Shape> ShapeOf(std::size_t offset, std::string_view sizes, const ArrayContents &contents,
                                 Values &values) const
    {
        const std::size_t close = sizes.find(']');
        if (close == std::string_view::npos || sizes.substr(close + 1).find('[') != 0 || sizes.back() != ']'
            || sizes.substr(close + 2).find('[') != std::string_view::npos)
            return std::nullopt;
        const std::string_view first = Trimmed(sizes.substr(1, close - 1));
        const std::string_view second = Trimmed(sizes.substr(close + 2, sizes.size() - close - 3));
        const auto number = [&](std::string_view dimension) -> std::optional<std::int64_t> {
            const std::optional<std::int64_t> value = m_values.WholeNumber(dimension, offset, m_constants);
            return value && *value > 0 && *value <= std::int64_t{kLargestSide} * kLargestSide ? value : std::nullopt;
        };
        const std::optional<std::int64_t> columns = number(second);
        std::optional<std::int64_t> rows = first.empty() ? std::optional<std::int64_t>(contents.lists) : number(first);
        if (!columns || !rows || *rows <= 0 || *columns > std::int64_t{kLargestSide} * kLargestSide / 8)
            return std::nullopt;
        const auto total = static_cast<std::size_t>(*rows * *columns);
        if (contents.lists > 0 ? contents.lists != static_cast<std::size_t>(*rows)
                                     || contents.listLength != static_cast<std::size_t>(*columns)
                               : values.count > total)
            return std::nullopt;
        values.ZeroFillTo(total);
        return Shape{static_cast<int>(*rows), static_cast<int>(*columns)};
    }

    // A shape as one picture: `[64][16]` is 64 rows of 16 bytes, 128 x 64, as
    // rows and XBM take it; a call that draws it in pages or tiles makes it 8
    // pages of 16 columns, 16 x 64.
    static std::optional<ToldSize> ShapeSize(const std::string &name, std::string_view sizes, Shape shape,
                                             const DrawnIn *drawn)
    {
        const std::optional<BitLayout> drawnLayout = drawn ? drawn->layout : std::nullopt;
        const bool pages = drawnLayout == BitLayout::Pages || drawnLayout == BitLayout::Tiles;
        const int a = shape.rows;
        const int b = shape.columns;
        if (b > kLargestSide * 8)
            return std::nullopt;
        const std::string described =
            std::string(sizes) + ": " + std::to_string(a)
            + (pages ? " pages of " + std::to_string(b) + " columns" : " rows of " + std::to_string(b) + " bytes");
        return ToldSize{pages ? PictureSize{b, a * 8} : PictureSize{b * 8, a}, "its shape " + described + ", says",
                        name, drawnLayout, drawn ? drawn->evidence : std::string()};
    }

    const DrawnIn *DrawnWith(const std::string &name) const
    {
        const auto drawn = m_drawnIn.find(name);
        return drawn == m_drawnIn.end() ? nullptr : &drawn->second;
    }

    // The size `#define WIDTH_NAME 128` and `#define HEIGHT_NAME 64` give, or nothing.
    std::optional<PictureSize> DefinedSize(const std::string &widthName, const std::string &heightName,
                                           std::size_t offset) const
    {
        return ToldSides(m_values.WholeNumber(widthName, offset, {}), m_values.WholeNumber(heightName, offset, {}));
    }

    std::string_view m_text;
    ValueReader m_values;
    const PassedOverNote &m_note;
    SizeReading m_sizes;
    CodeReading m_reading;
    std::unordered_map<std::string, DrawnIn> m_drawnIn; // by the arrays' names
    NamedConstants m_constants;
    std::unordered_map<std::string, IndexOfArrays> m_indexOf; // by the arrays' names
    std::unordered_set<std::string> m_indexes;
    bool m_includesArduboy2 = false; // whose drawBitmap draws pages
    bool m_includesAdafruitGfx = false;
    // How much text the arrays that conditionals split may have read again: a
    // few times as much as there is, enough for every array of a text to be
    // split in several branches, while a text made to be read again and again
    // stays linear; beyond it they are read straight through the branches.
    std::size_t m_rereadLeft;
};

// The bytes `code --format raw` writes, which no text begins with (0xA4 is no
// first byte in UTF-8), or 32 bytes that are plainly no text.
bool IsRawPicture(std::string_view bytes)
{
    if (bytes.size() == kPictureSize + 1)
        return static_cast<std::uint8_t>(bytes.front()) == kPictureCommand;
    return bytes.size() == kPictureSize && std::any_of(bytes.begin(), bytes.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte >= 0x7F || (byte < 0x20 && std::isspace(byte) == 0);
           });
}

// "a, b, c": a source of thousands of arrays is named by its first few, and the rest counted.
std::string NameList(const std::vector<CodePicture> &pictures)
{
    constexpr std::size_t kNamed = 8;
    const std::size_t named = pictures.size() > kNamed + 1 ? kNamed : pictures.size();
    std::string names;
    for (std::size_t i = 0; i < named; ++i)
        names += (names.empty() ? "" : ", ") + pictures[i].name;
    if (named < pictures.size())
        names += " and " + std::to_string(pictures.size() - named) + " more";
    return names;
}

std::string NoPicture(const CodeReading &reading)
{
    if (reading.passedOver == 1)
        return reading.firstPassedOver.front();
    if (reading.passedOver > 1)
        return "none of its " + std::to_string(reading.passedOver)
               + " arrays is a picture (the first: " + reading.firstPassedOver.front() + ")";
    return "nothing in it reads as a picture: no printf lines of %c, no array and no list of 32 or 33 values";
}

} // namespace

CodeReading FindPicturesInCode(std::string_view text, const PassedOverNote &note, const CommandLineDefines &defines,
                               const SizeReading &sizes)
{
    if (IsRawPicture(text)) {
        CodePicture raw{"picture", {}, {}, std::nullopt};
        if (text.size() == raw.bytes.size() + 1) {
            raw.layout = BitLayout::Module;
            raw.layoutEvidence = std::string(kBeginsWithCommand);
        }
        std::copy(text.end() - static_cast<std::ptrdiff_t>(raw.bytes.size()), text.end(), raw.bytes.begin());
        return {{raw}, 0, {}, {}};
    }
    if (const std::optional<std::string> utf8 = Utf8FromUtf16(text))
        return PictureFinder(*utf8, note, defines, sizes).Find();
    return PictureFinder(text, note, defines, sizes).Find();
}

std::optional<std::string> NameSharedByTwo(const CodeReading &reading)
{
    std::unordered_set<std::string_view> seen;
    for (const CodePicture &picture : reading.pictures) {
        if (!seen.insert(picture.name).second)
            return picture.name;
    }
    return std::nullopt;
}

std::string SharedNameProblem(const CodeReading &reading, const std::string &name)
{
    const auto count = std::count_if(reading.pictures.begin(), reading.pictures.end(),
                                     [&name](const CodePicture &picture) { return picture.name == name; });
    // Only branches of a conditional give two arrays one name, and which the compiler takes is not known.
    return "it holds " + std::to_string(count) + " different pictures named " + name
           + ", in branches of a conditional that the text itself does not settle";
}

PickedPicture PickPicture(const CodeReading &reading, const std::optional<std::string> &name)
{
    const std::vector<CodePicture> &pictures = reading.pictures;
    if (pictures.empty())
        return {std::nullopt, NoPicture(reading), std::nullopt};
    const CodePicture *picked = nullptr;
    if (name) {
        // An X BitMap's picture is NAME; its array's name, NAME_bits, picks it where no picture has that name.
        const bool exact = std::any_of(pictures.begin(), pictures.end(),
                                       [&name](const CodePicture &picture) { return picture.name == *name; });
        const auto answers = [&name, exact](const CodePicture &picture) {
            return exact ? picture.name == *name
                         : picture.layout == BitLayout::Xbm && *name == picture.name + std::string(kXbmBits);
        };
        const auto found = std::find_if(pictures.begin(), pictures.end(), answers);
        if (found == pictures.end())
            return {std::nullopt, "it holds no picture named " + *name + " (it holds " + NameList(pictures) + ")",
                    std::nullopt};
        if (std::count_if(found, pictures.end(), answers) > 1)
            return {std::nullopt, SharedNameProblem(reading, found->name), std::nullopt};
        picked = &*found;
    } else if (const std::optional<std::string> shared = NameSharedByTwo(reading)) {
        return {std::nullopt, SharedNameProblem(reading, *shared), std::nullopt};
    } else if (pictures.size() > 1) {
        return {std::nullopt,
                "it holds " + std::to_string(pictures.size()) + " pictures (" + NameList(pictures)
                    + "); name the one to take",
                std::nullopt};
    } else {
        picked = &pictures.front();
    }
    if (!picked->problem.empty())
        return {std::nullopt, picked->problem, std::nullopt};
    if (!IsModuleSize(picked->size))
        return {std::nullopt,        {}, picked->layout, picked->layoutEvidence, picked->size, picked->sizedBytes,
                picked->sizeEvidence};
    return {picked->bytes, {}, picked->layout, picked->layoutEvidence};
}

const UnsizedArray *PickUnsized(const CodeReading &reading, const std::optional<std::string> &name)
{
    const auto named = [&reading](const std::string &wanted) {
        return std::any_of(reading.pictures.begin(), reading.pictures.end(),
                           [&wanted](const CodePicture &picture) { return picture.name == wanted; });
    };
    if (name) {
        if (named(*name))
            return nullptr;
        const auto found = std::find_if(reading.unsized.begin(), reading.unsized.end(),
                                        [&name](const UnsizedArray &array) { return array.name == *name; });
        return found == reading.unsized.end() ? nullptr : &*found;
    }
    return reading.pictures.empty() && reading.unsized.size() == 1 ? &reading.unsized.front() : nullptr;
}

DotGrid::Dots DotsOfPicture(const PictureBytes &bytes, std::optional<BitLayout> layout, LcdType type)
{
    return DotsFromLayoutBytes(bytes, layout.value_or(BitLayout::Module), type);
}

} // namespace tessaldo
