#include "core/code/CodeReader.h"

#include "core/code/CodeGenerator.h"
#include "core/code/CodeLexer.h"
#include "core/code/CodeValues.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace tessaldo {
namespace {

// What tells that values are the module's own.
constexpr std::string_view kBeginsWithCommand = "its values begin with 0xA4";
constexpr std::string_view kWhatAPictureIs = "a picture is 32 values, or 33 beginning with 0xA4";
constexpr std::size_t kPictureSize = PictureBytes{}.size();
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
// the first that a picture can take kept, and the first problem.
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
        if (bytes.size() <= kPictureSize)
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
                         + static_cast<std::ptrdiff_t>(std::min(more.bytes.size(), kPictureSize + 1 - bytes.size())));
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
        bytes.resize(std::max(bytes.size(), std::min(length, kPictureSize + 1)), 0);
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
    PictureFinder(std::string_view text, const PassedOverNote &note, const CommandLineDefines &defines)
        : m_text(text),
          m_values(text, defines),
          m_note(note),
          m_rereadLeft(kRereadsOfText * text.size())
    {
    }

    CodeReading Find()
    {
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
            if (const std::optional<BitLayout> drawn = DrawingCallLayout(token->text)) {
                Lexer arguments = lexer;
                NoteDrawingCall(arguments, *drawn, *token);
            } else if (std::optional<PrintfCall> picture = PictureCall(call, *token)) {
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
    // The display libraries' calls that draw an array name its layout: u8g2's
    // drawXBM and drawXBMP an X BitMap, Adafruit GFX's drawBitmap (and u8g2's)
    // rows with the leftmost dot in bit 7.
    static std::optional<BitLayout> DrawingCallLayout(std::string_view function)
    {
        if (function == "drawXBM" || function == "drawXBMP")
            return BitLayout::Xbm;
        if (function == "drawBitmap")
            return BitLayout::Rows;
        return std::nullopt;
    }

    // Where the array stands among the call's arguments: u8g2.drawXBM(x, y,
    // w, h, NAME); display.drawBitmap(x, y, NAME, w, h, color) for Adafruit
    // GFX, u8g2.drawBitmap(x, y, cnt, h, NAME) for u8g2.
    static bool NamesTheArray(std::string_view function, std::size_t argument, std::size_t count)
    {
        if (function == "drawBitmap")
            return (argument == 2 && count >= 5) || (argument == 4 && count == 5);
        return argument == 4 && count == 5;
    }

    // Notes the array a drawing call takes, an argument that is one name; one
    // drawn with calls of two layouts has none of them.
    void NoteDrawingCall(Lexer &lexer, BitLayout layout, const Token &call)
    {
        const std::string_view function = call.text;
        std::optional<Token> token = lexer.Next();
        if (!token || !IsPunctuation(*token, '('))
            return;
        std::vector<std::vector<Token>> arguments(1);
        int depth = 0;
        for (std::size_t read = 0; (token = lexer.Next()) && read < kLongestDeclaration; ++read) {
            if (depth == 0 && IsPunctuation(*token, ')'))
                break;
            if (depth == 0 && IsPunctuation(*token, ',')) {
                arguments.emplace_back();
                continue;
            }
            depth += IsOpening(*token) ? 1 : IsClosing(*token) ? -1 : 0;
            arguments.back().push_back(*token);
        }
        if (!token || !IsPunctuation(*token, ')'))
            return;
        for (std::size_t at = 0; at < arguments.size(); ++at) {
            const std::vector<Token> &argument = arguments[at];
            if (argument.size() != 1 || argument.front().kind != TokenKind::Identifier
                || !NamesTheArray(function, at, arguments.size()))
                continue;
            const auto [noted, added] = m_drawnIn.emplace(
                std::string(argument.front().text),
                DrawnIn{layout, std::string(function) + " draws it on line " + std::to_string(call.line)});
            if (!added && noted->second.layout != layout)
                noted->second.layout = std::nullopt;
        }
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
                && same.layout == picture.layout)
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
        if (contents.lists == 0 && values.HavePictureLength()) {
            m_reading.pictures.push_back(PictureFromValues(name, values, "the array " + name + " has"));
            if (const std::optional<std::string> stem = XbmStem(name, nameToken.offset)) {
                // The picture is NAME, as code --format xbm names its three lines after it.
                m_reading.pictures.back().name = *stem;
                m_reading.pictures.back().layout = BitLayout::Xbm;
                m_reading.pictures.back().layoutEvidence = *stem + "_width and " + *stem + "_height stand beside it";
            } else if (IsGfxBitmap(name, nameToken.offset)) {
                m_reading.pictures.back().layout = BitLayout::Rows;
                m_reading.pictures.back().layoutEvidence = name + "_WIDTH and " + name + "_HEIGHT stand beside it";
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

    // X11 writes an X BitMap as NAME_bits after `#define NAME_width 16` and
    // `#define NAME_height 16`; bits so named are in its layout. NAME, or nothing.
    std::optional<std::string> XbmStem(std::string_view name, std::size_t offset) const
    {
        if (name.size() <= kXbmBits.size() || !name.ends_with(kXbmBits))
            return std::nullopt;
        std::string stem(name.substr(0, name.size() - kXbmBits.size()));
        if (!DefinesSide(stem + "_width", offset) || !DefinesSide(stem + "_height", offset))
            return std::nullopt;
        return stem;
    }

    // An Adafruit GFX bitmap as `code --format gfx` writes it, and Adafruit's
    // examples do: NAME beside `#define NAME_WIDTH 16` and `NAME_HEIGHT 16`.
    bool IsGfxBitmap(const std::string &name, std::size_t offset) const
    {
        return DefinesSide(name + "_WIDTH", offset) && DefinesSide(name + "_HEIGHT", offset);
    }

    bool DefinesSide(const std::string &name, std::size_t offset) const
    {
        return Trimmed(m_values.Replacement(name, offset).replacement.value_or("")) == std::to_string(kGridSide);
    }

    std::string_view m_text;
    ValueReader m_values;
    const PassedOverNote &m_note;
    CodeReading m_reading;
    // The layout a drawing call takes, none where calls of two layouts draw it, and where it was said.
    struct DrawnIn {
        std::optional<BitLayout> layout;
        std::string evidence;
    };
    std::unordered_map<std::string, DrawnIn> m_drawnIn; // by the arrays' names
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

CodeReading FindPicturesInCode(std::string_view text, const PassedOverNote &note, const CommandLineDefines &defines)
{
    if (IsRawPicture(text)) {
        CodePicture raw{"picture", {}, {}, std::nullopt};
        if (text.size() == raw.bytes.size() + 1) {
            raw.layout = BitLayout::Module;
            raw.layoutEvidence = std::string(kBeginsWithCommand);
        }
        std::copy(text.end() - static_cast<std::ptrdiff_t>(raw.bytes.size()), text.end(), raw.bytes.begin());
        return {{raw}, 0, {}};
    }
    if (const std::optional<std::string> utf8 = Utf8FromUtf16(text))
        return PictureFinder(*utf8, note, defines).Find();
    return PictureFinder(text, note, defines).Find();
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
    return {picked->bytes, {}, picked->layout, picked->layoutEvidence};
}

DotGrid::Dots DotsOfPicture(const PictureBytes &bytes, std::optional<BitLayout> layout, LcdType type)
{
    return DotsFromLayoutBytes(bytes, layout.value_or(BitLayout::Module), type);
}

} // namespace tessaldo
