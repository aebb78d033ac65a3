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
// The most bytes a picture of any size takes: 1024 x 1024 in any layout.
constexpr std::size_t kMostBytes = std::size_t{kLargestSide} * kLargestSide / 8;
constexpr std::string_view kXbmBits = "_bits";
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
    bool countInDoubt = false; // a value may be several

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
        count = length;
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
        for (std::optional<Token> token = lexer.Next(); token; token = lexer.Next()) {
            if (IsPunctuation(*token, ';') || IsPunctuation(*token, '{') || IsPunctuation(*token, '}'))
                constant = false;
            if (token->kind != TokenKind::Identifier)
                continue;
            if (token->text == "const" || token->text == "constexpr") {
                constant = true;
                continue;
            }
            Lexer after = lexer;
            if (const std::optional<BitLayout> layout = DrawingCallLayout(token->text)) {
                if (std::optional<DrawingCall> call = ReadDrawingCall(after, *layout, *token))
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
        for (const DrawingCall &call : calls)
            NoteDrawingCall(call);
    }

    // The display libraries' calls that draw an array name its layout: u8g2's
    // drawXBM and drawXBMP an X BitMap, Adafruit GFX's drawBitmap (and u8g2's)
    // rows with the leftmost dot in bit 7, u8x8's drawTile its tiles (only
    // where sizes are read: a 16 x 16 picture is no row of tiles).
    std::optional<BitLayout> DrawingCallLayout(std::string_view function) const
    {
        if (function == "drawXBM" || function == "drawXBMP")
            return BitLayout::Xbm;
        if (function == "drawBitmap")
            return BitLayout::Rows;
        if (function == "drawTile" && m_sizes.toldSizes)
            return BitLayout::Tiles;
        return std::nullopt;
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

    // A drawing call as written: its arguments' tokens.
    struct DrawingCall {
        Token call;
        BitLayout layout;
        std::vector<std::vector<Token>> arguments;
    };

    static std::optional<DrawingCall> ReadDrawingCall(Lexer &lexer, BitLayout layout, const Token &call)
    {
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '('))
            return std::nullopt;
        DrawingCall read{call, layout, std::vector<std::vector<Token>>(1)};
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
            const std::vector<Token> &argument = call.arguments[at];
            if (argument.size() != 1 || argument.front().kind != TokenKind::Identifier
                || !NamesTheArray(function, at, call.arguments.size()))
                continue;
            const std::optional<PictureSize> size = m_sizes.toldSizes ? CallSize(call, at) : std::nullopt;
            const std::string sizeEvidence =
                size ? std::string(function) + " draws it " + PictureSizeText(*size) + " on line " + line : "";
            const auto [noted, added] = m_drawnIn.emplace(
                std::string(argument.front().text),
                DrawnIn{call.layout, std::string(function) + " draws it on line " + line, size, sizeEvidence});
            if (added)
                continue;
            if (noted->second.layout != call.layout)
                noted->second.layout = std::nullopt;
            if (noted->second.size != size)
                noted->second.size = std::nullopt;
        }
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
            } else if (token->kind == TokenKind::Identifier) {
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
        if (const std::optional<std::size_t> declared = DeclaredLength(sizes); declared && contents.lists == 0)
            values.ZeroFillTo(*declared);
        if (m_sizes.toldSizes && TakeSized(nameToken, sizes, contents, values))
            return;
        if (contents.lists == 0 && values.HavePictureLength()) {
            m_reading.pictures.push_back(PictureFromValues(name, values, "the array " + name + " has"));
            if (const std::optional<std::string> stem = XbmStem(name, nameToken.offset)) {
                // The picture is NAME, as code --format xbm names its three lines after it.
                m_reading.pictures.back().name = *stem;
                m_reading.pictures.back().layout = BitLayout::Xbm;
                m_reading.pictures.back().layoutEvidence = *stem + "_width and " + *stem + "_height stand beside it";
            } else if (IsGfxBitmap(name, nameToken.offset)) {
                // Pages and tiles say their size at 16 x 16 too, with NAME_PAGES or NAME_TILE_WIDTH.
                auto [layout, evidence] = UpperCaseSidesLayout(name, nameToken.offset, nullptr);
                m_reading.pictures.back().layout = layout;
                m_reading.pictures.back().layoutEvidence = std::move(evidence);
            }
        } else if (contents.lists == 0)
            PassOver(m_reading, m_note,
                     "the array " + name + line + " has " + Count(values.count, "value") + "; "
                         + std::string(kWhatAPictureIs));
        else if (contents.values.count > 0 || contents.irregular)
            PassOver(m_reading, m_note,
                     "the array " + name + line + " holds lists of unequal length or lists in lists; "
                         + std::string(kWhatAPictureIs));
        else if (!contents.frames)
            PassOver(m_reading, m_note,
                     "the array " + name + std::string(sizes) + line + " is " + Count(contents.lists, "list") + " of "
                         + Count(contents.listLength, "value") + "; " + std::string(kWhatAPictureIs));
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

    // An array whose code tells a size other than 16 x 16, or that the size
    // given is read at: a picture of that size, or passed over with the
    // reason. False where neither holds, or the size is 16 x 16, which is
    // read as it always has been (so `[16][2]` stays no picture).
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
        std::optional<ToldSize> told = SizeTold(name, nameToken.offset, sizes, contents, values);
        if (!told && m_sizes.unsaid)
            told = ToldSize{*m_sizes.unsaid,
                            {},
                            name,
                            drawn ? drawn->layout : std::nullopt,
                            drawn ? drawn->evidence : std::string()};
        const std::string what =
            "the array " + name + " on line " + std::to_string(nameToken.line) + " has " + Count(values.count, "value");
        if (!told) {
            if (!listed && !values.HavePictureLength())
                KeepUnsized(what, name, values, drawn);
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
        const std::span<const BitLayout> layouts =
            told->layout ? std::span<const BitLayout>(&*told->layout, 1) : std::span<const BitLayout>(kSizedGuessOrder);
        if (std::none_of(layouts.begin(), layouts.end(),
                         [&](BitLayout layout) { return LayoutByteCount(layout, told->size) == values.count; })) {
            PassOver(m_reading, m_note,
                     what + ", but at " + PictureSizeText(told->size) + as + " its picture takes "
                         + BytesTaken(told->size, layouts));
            return true;
        }
        m_reading.pictures.push_back({told->name, {}, values.problem, told->layout, told->layoutEvidence});
        CodePicture &picture = m_reading.pictures.back();
        picture.size = told->size;
        picture.sizedBytes.assign(values.bytes.begin(),
                                  values.bytes.begin() + static_cast<std::ptrdiff_t>(values.count));
        picture.sizeEvidence = told->evidence;
        return true;
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

    // Kept where a common display's size fits its length, to propose that size.
    void KeepUnsized(const std::string &what, const std::string &name, const Values &values, const DrawnIn *drawn)
    {
        if (m_sizes.unsaid || values.count > values.bytes.size() || !values.problem.empty())
            return;
        const bool fits = std::any_of(kDisplaySizes.begin(), kDisplaySizes.end(), [&values](PictureSize size) {
            return std::any_of(kSizedGuessOrder.begin(), kSizedGuessOrder.end(),
                               [&](BitLayout layout) { return LayoutByteCount(layout, size) == values.count; });
        });
        if (fits)
            m_reading.unsized.push_back({name, what, values.bytes, drawn ? drawn->layout : std::nullopt,
                                         drawn ? drawn->evidence : std::string()});
    }

    // What the code tells of the array's size, the first of: an X BitMap's
    // defines, Adafruit's, a drawing call, the defines beside a set's index,
    // the array's shape.
    std::optional<ToldSize> SizeTold(const std::string &name, std::size_t offset, std::string_view sizes,
                                     const ArrayContents &contents, Values &values) const
    {
        const DrawnIn *drawn = DrawnWith(name);
        const std::optional<BitLayout> drawnLayout = drawn ? drawn->layout : std::nullopt;
        const std::string drawnEvidence = drawn ? drawn->evidence : std::string();
        if (const std::optional<std::string> stem = XbmStem(name)) {
            if (const std::optional<PictureSize> size = DefinedSize(*stem + "_width", *stem + "_height", offset))
                return ToldSize{*size, *stem + "_width and " + *stem + "_height say", *stem, BitLayout::Xbm,
                                *stem + "_width and " + *stem + "_height stand beside it"};
        }
        if (const std::optional<PictureSize> size = DefinedSize(name + "_WIDTH", name + "_HEIGHT", offset)) {
            const auto [layout, evidence] = UpperCaseSidesLayout(name, offset, drawn);
            return ToldSize{*size, name + "_WIDTH and " + name + "_HEIGHT say", name, layout, evidence};
        }
        if (drawn && drawn->size)
            return ToldSize{*drawn->size, drawn->sizeEvidence, name, drawnLayout, drawnEvidence};
        if (const auto index = m_indexOf.find(name); index != m_indexOf.end()) {
            const std::string &set = index->second.name;
            if (const std::optional<PictureSize> size =
                    DefinedSize(set + "_WIDTH", set + "_HEIGHT", index->second.offset))
                return ToldSize{*size, set + "_WIDTH and " + set + "_HEIGHT beside the index " + set + " say", name,
                                drawnLayout, drawnEvidence};
        }
        return ShapeSize(name, offset, sizes, contents, values, drawnLayout, drawnEvidence);
    }

    // The layout of an array beside NAME_WIDTH and NAME_HEIGHT: pages where
    // NAME_PAGES counts them and tiles where NAME_TILE_WIDTH does (as code
    // --format pages and u8x8 write them), else what a call draws it in, else
    // Adafruit GFX's rows, whose examples name their sides so.
    std::pair<std::optional<BitLayout>, std::string> UpperCaseSidesLayout(const std::string &name, std::size_t offset,
                                                                          const DrawnIn *drawn) const
    {
        if (m_values.WholeNumber(name + "_PAGES", offset, {}))
            return {BitLayout::Pages, name + "_PAGES stands beside it"};
        if (m_values.WholeNumber(name + "_TILE_WIDTH", offset, {}))
            return {BitLayout::Tiles, name + "_TILE_WIDTH stands beside it"};
        if (drawn && drawn->layout)
            return {drawn->layout, drawn->evidence};
        return {BitLayout::Rows, name + "_WIDTH and " + name + "_HEIGHT stand beside it"};
    }

    // `[64][16]`, filled: 64 rows of 16 bytes, a 128 x 64 picture, as rows and
    // XBM take it; a call that draws it in pages or tiles makes it 8 pages of
    // 16 columns, 16 x 64. C fills what a flat initialiser leaves out with zeros.
    std::optional<ToldSize> ShapeSize(const std::string &name, std::size_t offset, std::string_view sizes,
                                      const ArrayContents &contents, Values &values,
                                      std::optional<BitLayout> drawnLayout, const std::string &drawnEvidence) const
    {
        const std::size_t close = sizes.find(']');
        if (close == std::string_view::npos || sizes.substr(close + 1).find('[') != 0 || sizes.back() != ']'
            || sizes.substr(close + 2).find('[') != std::string_view::npos)
            return std::nullopt;
        const std::string_view first = Trimmed(sizes.substr(1, close - 1));
        const std::string_view second = Trimmed(sizes.substr(close + 2, sizes.size() - close - 3));
        const auto number = [&](std::string_view dimension) -> std::optional<std::int64_t> {
            const std::optional<std::int64_t> value = m_values.WholeNumber(dimension, offset, m_constants);
            return value && *value > 0 && *value <= kLargestSide ? value : std::nullopt;
        };
        const std::optional<std::int64_t> columns = number(second);
        std::optional<std::int64_t> rows = first.empty() ? std::optional<std::int64_t>(contents.lists) : number(first);
        if (!columns || !rows || *rows <= 0)
            return std::nullopt;
        const auto total = static_cast<std::size_t>(*rows * *columns);
        if (contents.lists > 0 ? contents.lists != static_cast<std::size_t>(*rows)
                                     || contents.listLength != static_cast<std::size_t>(*columns)
                               : values.count > total)
            return std::nullopt;
        values.ZeroFillTo(total);
        const bool pages = drawnLayout == BitLayout::Pages || drawnLayout == BitLayout::Tiles;
        const int a = static_cast<int>(*rows);
        const int b = static_cast<int>(*columns);
        const std::string shape =
            std::string(sizes) + ": " + std::to_string(a)
            + (pages ? " pages of " + std::to_string(b) + " columns" : " rows of " + std::to_string(b) + " bytes");
        return ToldSize{pages ? PictureSize{b, a * 8} : PictureSize{b * 8, a}, "its shape " + shape + ", says", name,
                        drawnLayout, drawnEvidence};
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

    // X11 writes an X BitMap as NAME_bits after `#define NAME_width 16` and
    // `#define NAME_height 16`; bits so named are in its layout. NAME, or nothing.
    static std::optional<std::string> XbmStem(std::string_view name)
    {
        if (name.size() <= kXbmBits.size() || !name.ends_with(kXbmBits))
            return std::nullopt;
        return std::string(name.substr(0, name.size() - kXbmBits.size()));
    }

    // An X BitMap of 16 x 16: NAME, or nothing.
    std::optional<std::string> XbmStem(std::string_view name, std::size_t offset) const
    {
        std::optional<std::string> stem = XbmStem(name);
        if (!stem || DefinedSize(*stem + "_width", *stem + "_height", offset) != kModuleSize)
            return std::nullopt;
        return stem;
    }

    // An Adafruit GFX bitmap as `code --format gfx` writes it, and Adafruit's
    // examples do: NAME beside `#define NAME_WIDTH 16` and `NAME_HEIGHT 16`.
    bool IsGfxBitmap(const std::string &name, std::size_t offset) const
    {
        return DefinedSize(name + "_WIDTH", name + "_HEIGHT", offset) == kModuleSize;
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
