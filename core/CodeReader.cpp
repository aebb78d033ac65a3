#include "CodeReader.h"

#include "CodeGenerator.h"

#include <algorithm>
#include <cctype>

namespace tessaldo {
namespace {

constexpr std::string_view kWhatAPictureIs = "a picture is 32 values, or 33 beginning with 0xA4";

enum class TokenKind { Identifier, Number, String, Punctuation };

struct Token {
    TokenKind kind;
    std::string_view text;
    int line;
    int column;
};

bool IsIdentifierStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsIdentifierPart(char c)
{
    return IsIdentifierStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Splits C source into the tokens that matter here; comments and
// preprocessor lines are dropped, anything unknown is punctuation.
class Lexer {
public:
    explicit Lexer(std::string_view text) : m_text(text) {}

    std::vector<Token> Tokens()
    {
        std::vector<Token> tokens;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '\n') {
                Advance(1);
                m_lineHasToken = false;
            } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
                Advance(1);
            } else if (StartsWith("//")) {
                SkipToLineEnd(false);
            } else if (StartsWith("/*")) {
                SkipBlockComment();
            } else if (c == '#' && !m_lineHasToken) {
                SkipToLineEnd(true);
            } else {
                tokens.push_back(NextToken());
                m_lineHasToken = true;
            }
        }
        return tokens;
    }

private:
    bool StartsWith(std::string_view prefix) const { return m_text.substr(m_pos).starts_with(prefix); }

    void Advance(std::size_t count)
    {
        for (; count > 0 && m_pos < m_text.size(); --count, ++m_pos) {
            if (m_text[m_pos] == '\n') {
                ++m_line;
                m_column = 1;
            } else {
                ++m_column;
            }
        }
    }

    // A preprocessor line goes on past a backslash at its end.
    void SkipToLineEnd(bool continued)
    {
        while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
            const bool escapedEnd = continued && m_text[m_pos] == '\\' && m_pos + 1 < m_text.size()
                                    && (m_text[m_pos + 1] == '\n' || m_text[m_pos + 1] == '\r');
            Advance(escapedEnd ? 2 : 1);
        }
    }

    void SkipBlockComment()
    {
        const std::size_t end = m_text.find("*/", m_pos + 2);
        Advance(end == std::string_view::npos ? m_text.size() - m_pos : end + 2 - m_pos);
    }

    std::size_t Span(std::size_t from, bool (*part)(char)) const
    {
        std::size_t end = from;
        while (end < m_text.size() && part(m_text[end]))
            ++end;
        return end - m_pos;
    }

    std::size_t QuotedLength(char quote) const
    {
        std::size_t end = m_pos + 1;
        while (end < m_text.size() && m_text[end] != quote && m_text[end] != '\n')
            end += m_text[end] == '\\' ? 2 : 1;
        return std::min(end + 1, m_text.size()) - m_pos;
    }

    Token NextToken()
    {
        const char c = m_text[m_pos];
        TokenKind kind = TokenKind::Punctuation;
        std::size_t length = 1;
        if (IsIdentifierStart(c)) {
            kind = TokenKind::Identifier;
            length = Span(m_pos, IsIdentifierPart);
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            kind = TokenKind::Number;
            length = Span(m_pos, [](char part) { return IsIdentifierPart(part) || part == '.' || part == '\''; });
        } else if (c == '"' || c == '\'') {
            kind = c == '"' ? TokenKind::String : TokenKind::Punctuation; // a character is no byte value here
            length = QuotedLength(c);
        }
        const Token token{kind, m_text.substr(m_pos, length), m_line, m_column};
        Advance(length);
        return token;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
    bool m_lineHasToken = false;
};

// An integer constant as C reads it, or nothing for what C would not take.
// Values too large for any byte come back as 256.
std::optional<unsigned> IntegerValue(std::string_view text)
{
    while (!text.empty() && (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' || text.back() == 'L'))
        text.remove_suffix(1);
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        base = 2;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        base = 8;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) != 0 ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c)) != 0
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : 99;
        if (static_cast<unsigned>(digit) >= base)
            return std::nullopt;
        value = std::min(value * base + static_cast<unsigned>(digit), 256u);
    }
    return value;
}

std::string Count(std::size_t count, const std::string &what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Place(const Token &token)
{
    return "line " + std::to_string(token.line) + ", column " + std::to_string(token.column);
}

// The values a list of number tokens gives, or why they are no bytes.
struct Values {
    std::vector<std::uint8_t> bytes;
    std::string problem;
};

Values ByteValues(const std::vector<Token> &numbers)
{
    Values values;
    for (const Token &number : numbers) {
        const std::optional<unsigned> value = IntegerValue(number.text);
        if (!value)
            return {{}, "\"" + std::string(number.text) + "\" on " + Place(number) + " is no whole number C reads"};
        if (*value > 255)
            return {{}, "the value " + std::string(number.text) + " on " + Place(number) + " is over 255"};
        values.bytes.push_back(static_cast<std::uint8_t>(*value));
    }
    return values;
}

// `counted` says whose values they are: "found", "the array logo has".
CodePicture PictureFromValues(std::string name, const Values &values, const std::string &counted)
{
    CodePicture picture{std::move(name), {}, values.problem};
    if (!picture.problem.empty())
        return picture;
    const std::vector<std::uint8_t> &bytes = values.bytes;
    const bool withCommand = bytes.size() == PictureBytes{}.size() + 1 && bytes.front() == kPictureCommand;
    if (bytes.size() != PictureBytes{}.size() && !withCommand) {
        picture.problem = counted + " " + Count(bytes.size(), "value") + "; " + std::string(kWhatAPictureIs);
        return picture;
    }
    std::copy(bytes.end() - static_cast<std::ptrdiff_t>(picture.bytes.size()), bytes.end(), picture.bytes.begin());
    return picture;
}

bool IsPunctuation(const Token &token, char c)
{
    return token.kind == TokenKind::Punctuation && token.text.size() == 1 && token.text[0] == c;
}

// `{ number, number, ... }` from tokens[at], a trailing comma allowed;
// nothing when the list holds anything else, such as nested lists or names.
std::optional<std::vector<Token>> FlatNumberList(const std::vector<Token> &tokens, std::size_t &at)
{
    std::vector<Token> numbers;
    for (++at; at < tokens.size(); ++at) {
        if (IsPunctuation(tokens[at], '}'))
            return numbers;
        if (tokens[at].kind != TokenKind::Number)
            return std::nullopt;
        numbers.push_back(tokens[at]);
        if (at + 1 < tokens.size() && IsPunctuation(tokens[at + 1], ','))
            ++at;
    }
    return std::nullopt;
}

// `NAME [..] = {`: the name of an array being initialised at tokens[at], and
// `at` moved to its opening brace.
std::optional<std::string_view> ArrayStart(const std::vector<Token> &tokens, std::size_t &at)
{
    if (tokens[at].kind != TokenKind::Identifier || at + 1 >= tokens.size() || !IsPunctuation(tokens[at + 1], '['))
        return std::nullopt;
    // A size is a few tokens; looking no further keeps junk full of '[' linear.
    constexpr std::size_t kLongestSize = 16;
    std::size_t next = at + 1;
    while (next < tokens.size() && IsPunctuation(tokens[next], '[')) {
        const std::size_t open = next;
        while (next < tokens.size() && next - open < kLongestSize && !IsPunctuation(tokens[next], ']'))
            ++next;
        if (next >= tokens.size() || !IsPunctuation(tokens[next], ']'))
            return std::nullopt;
        ++next;
    }
    if (next + 1 >= tokens.size() || !IsPunctuation(tokens[next], '=') || !IsPunctuation(tokens[next + 1], '{'))
        return std::nullopt;
    const std::string_view name = tokens[at].text;
    at = next + 1;
    return name;
}

// A printf of nothing but %c conversions with a constant for each.
struct PrintfCall {
    Token start;
    std::size_t conversions = 0;
    std::vector<Token> values;
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

std::optional<PrintfCall> PictureCall(const std::vector<Token> &tokens, std::size_t &at)
{
    if (tokens[at].text != "printf" || at + 2 >= tokens.size() || !IsPunctuation(tokens[at + 1], '('))
        return std::nullopt;
    PrintfCall call{tokens[at], 0, {}};
    std::size_t next = at + 2;
    for (; next < tokens.size() && tokens[next].kind == TokenKind::String; ++next) {
        bool only = false;
        call.conversions += CharConversions(tokens[next].text, only);
        if (!only)
            return std::nullopt;
    }
    if (next == at + 2)
        return std::nullopt;
    for (; next + 1 < tokens.size() && IsPunctuation(tokens[next], ','); next += 2) {
        if (tokens[next + 1].kind != TokenKind::Number)
            return std::nullopt; // a variable or an expression: not a picture's constant
        call.values.push_back(tokens[next + 1]);
    }
    if (next >= tokens.size() || !IsPunctuation(tokens[next], ')'))
        return std::nullopt;
    at = next;
    return call;
}

// A picture's printf lines begin with the command 0xA4 and go on until they
// have given 33 values. Other printf lines of constants (commands to the
// module, say) stand around them in firmware and are passed over; only in a
// text with no 0xA4 at all are they taken as the picture, which then needs
// its 32 values.
class PrintfPictures {
public:
    explicit PrintfPictures(std::vector<CodePicture> &out) : m_out(out) {}

    void Add(const PrintfCall &call)
    {
        if (call.conversions != call.values.size()) {
            m_out.push_back({Name(call.start),
                             {},
                             "the printf on " + Place(call.start) + " has " + Count(call.conversions, "%c conversion")
                                 + " but " + Count(call.values.size(), "value")});
            m_picture.clear();
            return;
        }
        // 0xA4 is also a picture byte: it begins a picture only where none is being read.
        if (m_picture.empty() && !call.values.empty() && IntegerValue(call.values.front().text) == kPictureCommand) {
            m_sawCommand = true;
            m_pictureStart = call.start;
        } else if (m_picture.empty()) {
            if (m_loose.empty())
                m_looseStart = call.start;
            m_loose.insert(m_loose.end(), call.values.begin(), call.values.end());
            return;
        }
        m_picture.insert(m_picture.end(), call.values.begin(), call.values.end());
        if (m_picture.size() >= PictureBytes{}.size() + 1)
            Flush();
    }

    // Ends the picture whose lines are being read, if any.
    void Flush() { Take(m_picture, m_pictureStart); }

    void Finish()
    {
        Flush();
        if (!m_sawCommand)
            Take(m_loose, m_looseStart);
    }

private:
    static std::string Name(const Token &start) { return "printf_line_" + std::to_string(start.line); }

    void Take(std::vector<Token> &values, const Token &start)
    {
        if (values.empty())
            return;
        m_out.push_back(
            PictureFromValues(Name(start), ByteValues(values), "the printf lines from " + Place(start) + " give"));
        values.clear();
    }

    std::vector<CodePicture> &m_out;
    std::vector<Token> m_picture;
    Token m_pictureStart{};
    std::vector<Token> m_loose;
    Token m_looseStart{};
    bool m_sawCommand = false;
};

// `{ {...}, {...} }` from tokens[at]: an array of frames as `header --frames`
// writes it, each frame a picture named NAME_000, NAME_001, ...; nothing when
// any of its lists is no flat list of numbers.
void AddFrames(const std::vector<Token> &tokens, std::size_t &at, const std::string &name,
               std::vector<CodePicture> &pictures)
{
    std::vector<CodePicture> frames;
    for (++at; at < tokens.size() && IsPunctuation(tokens[at], '{'); ++at) {
        const std::optional<std::vector<Token>> numbers = FlatNumberList(tokens, at);
        if (!numbers)
            return;
        std::string index = std::to_string(frames.size());
        index.insert(0, index.size() < 3 ? 3 - index.size() : 0, '0');
        std::string counted = "frame ";
        counted.append(index).append(" of the array ").append(name).append(" has");
        std::string frameName = name;
        frameName.append("_").append(index);
        frames.push_back(PictureFromValues(std::move(frameName), ByteValues(*numbers), counted));
        if (at + 1 < tokens.size() && IsPunctuation(tokens[at + 1], ','))
            ++at;
    }
    if (at < tokens.size() && IsPunctuation(tokens[at], '}'))
        pictures.insert(pictures.end(), frames.begin(), frames.end());
}

// Text of nothing but numbers and list punctuation: values copied on their own.
std::optional<std::vector<Token>> BareValues(const std::vector<Token> &tokens)
{
    std::vector<Token> numbers;
    for (const Token &token : tokens) {
        if (token.kind == TokenKind::Number)
            numbers.push_back(token);
        else if (!IsPunctuation(token, ',') && !IsPunctuation(token, '{') && !IsPunctuation(token, '}')
                 && !IsPunctuation(token, ';'))
            return std::nullopt;
    }
    return numbers.empty() ? std::nullopt : std::optional(numbers);
}

// The bytes `code --format raw` writes, which no text begins with (0xA4 is no
// first byte in UTF-8), or 32 bytes that are plainly no text.
bool IsRawPicture(std::string_view bytes)
{
    if (bytes.size() == PictureBytes{}.size() + 1)
        return static_cast<std::uint8_t>(bytes.front()) == kPictureCommand;
    return bytes.size() == PictureBytes{}.size() && std::any_of(bytes.begin(), bytes.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte >= 0x7F || (byte < 0x20 && std::isspace(byte) == 0);
           });
}

std::string NameList(const std::vector<CodePicture> &pictures)
{
    std::string names;
    for (const CodePicture &picture : pictures)
        names += (names.empty() ? "" : ", ") + picture.name;
    return names;
}

} // namespace

std::vector<CodePicture> FindPicturesInCode(std::string_view text)
{
    if (IsRawPicture(text)) {
        CodePicture raw{"picture", {}, {}};
        std::copy(text.end() - static_cast<std::ptrdiff_t>(raw.bytes.size()), text.end(), raw.bytes.begin());
        return {raw};
    }
    const std::vector<Token> tokens = Lexer(text).Tokens();
    std::vector<CodePicture> pictures;
    PrintfPictures printfs(pictures);
    for (std::size_t at = 0; at < tokens.size(); ++at) {
        if (const std::optional<PrintfCall> call = PictureCall(tokens, at)) {
            printfs.Add(*call);
            continue;
        }
        const std::optional<std::string_view> array = ArrayStart(tokens, at);
        if (!array)
            continue;
        printfs.Flush();
        if (at + 1 < tokens.size() && IsPunctuation(tokens[at + 1], '{')) {
            AddFrames(tokens, at, std::string(*array), pictures);
            continue;
        }
        if (const std::optional<std::vector<Token>> numbers = FlatNumberList(tokens, at))
            pictures.push_back(PictureFromValues(std::string(*array), ByteValues(*numbers),
                                                 "the array " + std::string(*array) + " has"));
    }
    printfs.Finish();
    if (pictures.empty()) {
        if (const std::optional<std::vector<Token>> numbers = BareValues(tokens))
            pictures.push_back(PictureFromValues("picture", ByteValues(*numbers), "found"));
    }
    return pictures;
}

PickedPicture PickPicture(const std::vector<CodePicture> &pictures, const std::optional<std::string> &name)
{
    if (pictures.empty())
        return {std::nullopt, "nothing in it reads as a picture: no printf lines of %c, no array and no list of "
                              "32 or 33 values"};
    const CodePicture *picked = nullptr;
    if (name) {
        const auto found = std::find_if(pictures.begin(), pictures.end(),
                                        [&name](const CodePicture &picture) { return picture.name == *name; });
        if (found == pictures.end())
            return {std::nullopt, "it holds no picture named " + *name + " (it holds " + NameList(pictures) + ")"};
        picked = &*found;
    } else if (pictures.size() > 1) {
        return {std::nullopt, "it holds " + std::to_string(pictures.size()) + " pictures (" + NameList(pictures)
                                  + "); name the one to take"};
    } else {
        picked = &pictures.front();
    }
    if (!picked->problem.empty())
        return {std::nullopt, picked->problem};
    return {picked->bytes, {}};
}

PickedPicture ReadPictureCode(std::string_view text)
{
    return PickPicture(FindPicturesInCode(text), std::nullopt);
}

DotGrid::Dots DotsFromPictureBytes(const PictureBytes &bytes)
{
    DotGrid::Dots dots{};
    for (std::size_t dot = 0; dot < dots.size(); ++dot)
        dots[dot] = static_cast<DotState>((bytes[dot / 8] >> (dot % 8)) & 1);
    return dots;
}

} // namespace tessaldo
