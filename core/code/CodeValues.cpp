#include "core/code/CodeValues.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace tessaldo {
namespace {

// Any magnitude above a byte's does; this keeps the arithmetic from overflowing.
constexpr std::uint64_t kHuge = std::uint64_t{1} << 40;

// An integer with the low byte of its two's complement, which is what a
// cast to an 8-bit type or a char array keeps of it.
struct Integer {
    bool negative = false;
    std::uint64_t magnitude = 0;
    std::uint8_t low = 0;
};

enum class Failure { None, NoNumber, UnknownName, NoSingleValue, SeveralValues, DependsOnCondition, TooDeep };

struct Evaluated {
    Integer value;
    Failure failure = Failure::None;
    std::string_view detail;            // the number or the name that failed
    const OpenBranch *branch = nullptr; // the branch a name's value depends on
};

Evaluated Failed(Failure failure, std::string_view detail = {}, const OpenBranch *branch = nullptr)
{
    return {{}, failure, detail, branch};
}

Evaluated Succeeded(const Integer &value)
{
    return {value, Failure::None, {}, nullptr};
}

bool IsBinaryDigits(std::string_view digits)
{
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '1'; });
}

std::optional<Integer> Digits(std::string_view digits, unsigned base)
{
    if (digits.empty())
        return std::nullopt;
    Integer value;
    for (const char c : digits) {
        const auto letter = static_cast<unsigned char>(c);
        const unsigned digit = std::isdigit(letter) != 0    ? static_cast<unsigned>(c - '0')
                               : std::isxdigit(letter) != 0 ? static_cast<unsigned>(std::tolower(letter) - 'a' + 10)
                                                            : 99;
        if (digit >= base)
            return std::nullopt;
        value.magnitude = std::min(value.magnitude * base + digit, kHuge);
        value.low = static_cast<std::uint8_t>(value.low * base + digit);
    }
    return value;
}

// An integer constant as C reads it: hex, octal, decimal, binary, suffixes.
std::optional<Integer> NumberValue(std::string_view text)
{
    while (!text.empty() && (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' || text.back() == 'L'))
        text.remove_suffix(1);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return Digits(text.substr(2), 16);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B'))
        return Digits(text.substr(2), 2);
    if (text.size() > 1 && text[0] == '0')
        return Digits(text.substr(1), 8);
    return Digits(text, 10);
}

std::optional<char> SimpleEscape(char c)
{
    constexpr std::string_view kLetters = "abfnrtv'\"?\\";
    constexpr std::string_view kMeanings = "\a\b\f\n\r\t\v'\"?\\";
    const std::size_t at = kLetters.find(c);
    return at == std::string_view::npos ? std::nullopt : std::optional(kMeanings[at]);
}

// 'A', '\n', '\0', '\244', '\xa4': one character, with every escape of C.
std::optional<Integer> CharacterValue(std::string_view text)
{
    if (text.size() < 3 || text.back() != '\'')
        return std::nullopt;
    const std::string_view inside = text.substr(1, text.size() - 2);
    if (inside.size() == 1 && inside[0] != '\\')
        return Integer{false, static_cast<unsigned char>(inside[0]), static_cast<std::uint8_t>(inside[0])};
    if (inside.size() < 2 || inside[0] != '\\')
        return std::nullopt;
    if (inside[1] == 'x')
        return Digits(inside.substr(2), 16);
    if (inside.size() <= 4 && std::isdigit(static_cast<unsigned char>(inside[1])) != 0)
        return Digits(inside.substr(1), 8);
    const std::optional<char> escaped = inside.size() == 2 ? SimpleEscape(inside[1]) : std::nullopt;
    if (!escaped)
        return std::nullopt;
    return Integer{false, static_cast<unsigned char>(*escaped), static_cast<std::uint8_t>(*escaped)};
}

// How many bits a word of an integer type name keeps: 8, or 0 for a wider or
// unsaid width (int, long, uint16_t, unsigned); nothing for a word that is no
// integer type's.
std::optional<int> TypeWordBits(std::string_view word)
{
    constexpr std::string_view kWide[] = {"signed", "unsigned", "short", "long", "int", "const", "volatile"};
    constexpr std::string_view kByte[] = {"char", "byte", "BYTE", "uchar", "UCHAR"};
    if (std::find(std::begin(kWide), std::end(kWide), word) != std::end(kWide))
        return 0;
    if (std::find(std::begin(kByte), std::end(kByte), word) != std::end(kByte))
        return 8;
    // uint8_t, int16_t, UINT8, int8, u8, s16, ...
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (lower.ends_with("_t"))
        lower.resize(lower.size() - 2);
    for (const std::string_view prefix : {"uint", "int", "u", "s"}) {
        const std::string_view digits = std::string_view(lower).substr(std::min(prefix.size(), lower.size()));
        if (lower.starts_with(prefix) && (digits == "8" || digits == "16" || digits == "32" || digits == "64"))
            return digits == "8" ? 8 : 0;
    }
    return std::nullopt;
}

// The bits a cast keeps, or nothing when the tokens are no integer type.
std::optional<int> CastBits(std::span<const Token> type)
{
    int bits = 0;
    for (const Token &word : type) {
        const std::optional<int> wordBits = word.kind == TokenKind::Identifier ? TypeWordBits(word.text) : std::nullopt;
        if (!wordBits)
            return std::nullopt;
        bits = std::max(bits, *wordBits);
    }
    return type.empty() ? std::nullopt : std::optional(bits);
}

std::size_t ClosingParenthesis(std::span<const Token> tokens)
{
    int depth = 0;
    for (std::size_t at = 0; at < tokens.size(); ++at) {
        depth += IsPunctuation(tokens[at], '(') ? 1 : IsPunctuation(tokens[at], ')') ? -1 : 0;
        if (depth == 0)
            return at;
    }
    return tokens.size();
}

class Evaluator {
public:
    Evaluator(const ValueReader &reader, std::size_t offset) : m_reader(reader), m_offset(offset) {}

    Evaluated Evaluate(std::span<const Token> tokens, int depth) const
    {
        if (depth > kDeepestMacro)
            return Failed(Failure::TooDeep);
        if (tokens.empty())
            return Failed(Failure::NoSingleValue);
        const Token &first = tokens.front();
        if (IsPunctuation(first, '-') || IsPunctuation(first, '+')) {
            Evaluated value = Evaluate(tokens.subspan(1), depth);
            if (IsPunctuation(first, '-') && value.failure == Failure::None && value.value.magnitude != 0)
                value.value = {!value.value.negative, value.value.magnitude,
                               static_cast<std::uint8_t>(-value.value.low)};
            return value;
        }
        if (IsPunctuation(first, '('))
            return Parenthesised(tokens, depth);
        if (tokens.size() != 1)
            return Failed(Failure::NoSingleValue);
        if (first.kind == TokenKind::Number) {
            const std::optional<Integer> value = NumberValue(first.text);
            return value ? Succeeded(*value) : Failed(Failure::NoNumber, first.text);
        }
        if (first.kind == TokenKind::Character) {
            const std::optional<Integer> value = CharacterValue(first.text);
            return value ? Succeeded(*value) : Failed(Failure::NoSingleValue);
        }
        if (first.kind == TokenKind::Identifier)
            return Name(first.text, depth);
        return Failed(Failure::NoSingleValue);
    }

private:
    // `(value)`, or `(type) value` with the value cut to what the type keeps.
    Evaluated Parenthesised(std::span<const Token> tokens, int depth) const
    {
        const std::size_t close = ClosingParenthesis(tokens);
        if (close >= tokens.size())
            return Failed(Failure::NoSingleValue);
        const std::span<const Token> inside = tokens.subspan(1, close - 1);
        const std::span<const Token> after = tokens.subspan(close + 1);
        if (after.empty())
            return Evaluate(inside, depth);
        const std::optional<int> bits = CastBits(inside);
        if (!bits)
            return Failed(Failure::NoSingleValue);
        Evaluated value = Evaluate(after, depth);
        if (*bits == 8 && value.failure == Failure::None)
            value.value = {false, value.value.low, value.value.low};
        return value;
    }

    Evaluated Name(std::string_view name, int depth) const
    {
        const Definition definition = m_reader.Replacement(name, m_offset);
        if (definition.dependsOn != nullptr)
            return Failed(Failure::DependsOnCondition, name, definition.dependsOn);
        if (!definition.replacement) {
            if (IsArduinoBinary(name))
                return Succeeded(*Digits(name.substr(1), 2));
            return Failed(Failure::UnknownName, name);
        }
        std::vector<Token> tokens;
        Lexer lexer(*definition.replacement);
        int parentheses = 0;
        for (std::optional<Token> token = lexer.Next(); token; token = lexer.Next()) {
            // `#define ROW 0, 0, 0` gives a list where the compiler sees it, and
            // one too long to be read through may be such a list.
            if ((parentheses == 0 && IsPunctuation(*token, ',')) || tokens.size() == ValueReader::kLongestValue)
                return Failed(Failure::SeveralValues);
            parentheses += IsPunctuation(*token, '(') ? 1 : IsPunctuation(*token, ')') ? -1 : 0;
            tokens.push_back(*token);
        }
        return Evaluate(tokens, depth + 1);
    }

    const ValueReader &m_reader;
    std::size_t m_offset;
};

std::string Place(const Token &token)
{
    return "line " + std::to_string(token.line) + ", column " + std::to_string(token.column);
}

std::size_t IdentifierEnd(std::string_view text, std::size_t from)
{
    while (from < text.size() && (std::isalnum(static_cast<unsigned char>(text[from])) != 0 || text[from] == '_'))
        ++from;
    return from;
}

std::size_t BlanksEnd(std::string_view text, std::size_t from)
{
    while (from < text.size() && (text[from] == ' ' || text[from] == '\t'))
        ++from;
    return from;
}

// `#  define NAME` at `at`: the word and where the name begins.
std::pair<std::string_view, std::size_t> DirectiveWord(std::string_view text, std::size_t at)
{
    const std::size_t wordStart = BlanksEnd(text, at + 1);
    const std::size_t wordEnd = IdentifierEnd(text, wordStart);
    return {text.substr(wordStart, wordEnd - wordStart), BlanksEnd(text, wordEnd)};
}

// Where the line from `from` ends, lines joined by a backslash at their end counted as one.
std::size_t LogicalLineEnd(std::string_view text, std::size_t from)
{
    std::size_t end = text.find_first_of("\r\n", from);
    while (end != std::string_view::npos && end > from && text[end - 1] == '\\')
        end = text.find_first_of("\r\n", text.substr(end).starts_with("\r\n") ? end + 2 : end + 1);
    return end == std::string_view::npos ? text.size() : end;
}

bool IsDefineOrUndef(std::string_view word)
{
    return word == "define" || word == "undef";
}

// The length of the character or escape at the start of `text`, as in a string literal.
std::size_t CharacterLength(std::string_view text)
{
    if (text.size() < 2 || text[0] != '\\')
        return 1;
    const auto isDigit = [](char c, bool hex) {
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '7';
    };
    const bool hex = text[1] == 'x';
    if (!hex && !isDigit(text[1], false))
        return 2;
    std::size_t end = hex ? 2 : 1;
    while (end < text.size() && (hex || end < 4) && isDigit(text[end], hex))
        ++end;
    return end;
}

} // namespace

bool IsArduinoBinary(std::string_view name)
{
    return name.size() <= 9 && name.starts_with('B') && IsBinaryDigits(name.substr(1));
}

ValueReader::ValueReader(std::string_view text, CommandLineDefines defines)
    : m_text(text),
      m_defines(std::move(defines))
{
    CollectDirectives();
    FollowConditions();
}

void ValueReader::CollectDirectives()
{
    const Lexer::DirectiveSeen seen = [this](std::size_t offset, int) {
        if (IsDefineOrUndef(DirectiveWord(m_text, offset).first) && !NameAt(offset).empty())
            m_directives.push_back(offset);
    };
    Lexer lexer(m_text, &seen);
    while (lexer.Next()) {
    }
    std::stable_sort(m_directives.begin(), m_directives.end(),
                     [this](std::size_t a, std::size_t b) { return NameAt(a) < NameAt(b); });
}

// Once more through the text, now that every #define can be found by name:
// which of them the conditionals skip, and which stand in a branch in doubt.
void ValueReader::FollowConditions()
{
    m_reach.resize(m_directives.size());
    ConditionTracker conditions(
        m_text.size(), [this](std::string_view name, std::size_t offset) { return Meaning(name, offset); }, m_skipped,
        m_branches, m_unsettled);
    const Lexer::DirectiveSeen seen = [this, &conditions](std::size_t offset, int line) {
        const auto [word, restStart] = DirectiveWord(m_text, offset);
        if (!IsDefineOrUndef(word)) {
            conditions.Directive(offset, line, word,
                                 m_text.substr(restStart, LogicalLineEnd(m_text, restStart) - restStart));
            return;
        }
        const std::string_view name = NameAt(offset);
        if (name.empty())
            return;
        const std::size_t index = IndexOf(name, offset);
        Reach &reach = m_reach[index];
        if (!conditions.Skipping())
            reach = {static_cast<std::uint32_t>(index + 1), conditions.OpenBranchAt(offset)};
        else if (index > 0 && NameAt(m_directives[index - 1]) == name)
            reach.latest = m_reach[index - 1].latest;
    };
    Lexer lexer(m_text, &seen);
    while (lexer.Next()) {
    }
    conditions.Finish();
}

std::size_t ValueReader::IndexOf(std::string_view name, std::size_t offset) const
{
    const auto after = std::partition_point(m_directives.begin(), m_directives.end(), [&](std::size_t directive) {
        const std::string_view directiveName = NameAt(directive);
        return directiveName < name || (directiveName == name && directive < offset);
    });
    return static_cast<std::size_t>(after - m_directives.begin());
}

std::optional<std::size_t> ValueReader::Latest(std::string_view name, std::size_t offset) const
{
    const std::size_t after = IndexOf(name, offset);
    if (after == 0 || NameAt(m_directives[after - 1]) != name || m_reach[after - 1].latest == 0)
        return std::nullopt;
    return m_reach[after - 1].latest - 1;
}

// The branch in doubt that the #define or #undef stands in and `offset` does not.
const OpenBranch *ValueReader::DependsOn(std::size_t directive, std::size_t offset) const
{
    const std::uint32_t branch = m_reach[directive].branch;
    if (branch == 0)
        return nullptr;
    const OpenBranch &open = m_branches[branch - 1];
    return open.begin <= offset && offset < open.end ? nullptr : &open;
}

// A name defined nowhere above may still come from a header or the compiler's
// command line (__AVR__, ARDUINO): only an #undef makes it surely undefined,
// unless the command line the compiler is given is known.
Truth ValueReader::IsDefined(std::string_view name, std::size_t offset) const
{
    const std::optional<std::size_t> latest = Latest(name, offset);
    if (!latest && !m_defines.empty())
        return m_defines.contains(name) ? Truth::True : Truth::False;
    if (!latest || DependsOn(*latest, offset) != nullptr)
        return Truth::Unknown;
    return DirectiveWord(m_text, m_directives[*latest]).first == "define" ? Truth::True : Truth::False;
}

NameMeaning ValueReader::Meaning(std::string_view name, std::size_t offset) const
{
    const Truth defined = IsDefined(name, offset);
    return {defined, defined == Truth::True ? Replacement(name, offset).replacement : std::nullopt};
}

std::string ValueReader::DirectiveText(std::size_t offset) const
{
    std::string_view line = m_text.substr(offset, m_text.find_first_of("\r\n", offset) - offset);
    line = line.substr(0, std::min(line.find("//"), line.find("/*")));
    return std::string(line.substr(0, line.find_last_not_of(" \t\\") + 1));
}

std::string_view ValueReader::NameAt(std::size_t directive) const
{
    const std::size_t start = DirectiveWord(m_text, directive).second;
    if (start >= m_text.size() || std::isdigit(static_cast<unsigned char>(m_text[start])) != 0)
        return {};
    return m_text.substr(start, IdentifierEnd(m_text, start) - start);
}

Definition ValueReader::Replacement(std::string_view name, std::size_t offset) const
{
    // The last #define or #undef of the name above the offset, of those not skipped, says what it is there.
    const std::optional<std::size_t> latest = Latest(name, offset);
    if (!latest) {
        const auto given = m_defines.find(name);
        return {given == m_defines.end() ? std::nullopt : std::optional<std::string_view>(given->second), nullptr};
    }
    if (const OpenBranch *dependsOn = DependsOn(*latest, offset))
        return {std::nullopt, dependsOn};
    const std::size_t directive = m_directives[*latest];
    const std::size_t nameEnd = DirectiveWord(m_text, directive).second + name.size();
    const bool functionLike = nameEnd < m_text.size() && m_text[nameEnd] == '(';
    if (DirectiveWord(m_text, directive).first != "define" || functionLike)
        return {};
    return {m_text.substr(nameEnd, LogicalLineEnd(m_text, nameEnd) - nameEnd), nullptr};
}

std::optional<std::int64_t> ValueReader::WholeNumber(std::string_view expression, std::size_t offset,
                                                     const NamedConstants &constants) const
{
    return ExpressionValue(expression, [&](std::string_view name) {
        if (const NameMeaning meaning = Meaning(name, offset); meaning.defined == Truth::True)
            return meaning;
        const auto constant = constants.find(name);
        return constant == constants.end() ? NameMeaning{} : NameMeaning{Truth::True, std::optional(constant->second)};
    });
}

void ValueReader::ReadString(const Token &literal, const std::function<void(const ByteValue &)> &each) const
{
    const std::string where = "the string on " + Place(literal);
    if (literal.text.size() < 2 || literal.text.back() != '"') {
        each({0, where + " has no closing quote"});
        return;
    }
    std::string_view inside = literal.text.substr(1, literal.text.size() - 2);
    while (!inside.empty()) {
        const std::string_view character = inside.substr(0, CharacterLength(inside));
        inside.remove_prefix(character.size());
        const std::optional<Integer> value = CharacterValue("'" + std::string(character) + "'");
        if (!value)
            each({0, where + " holds \"" + std::string(character) + "\", which is no character C reads"});
        else if (value->magnitude > 255)
            each({0, where + " holds \"" + std::string(character) + "\", which is over 255"});
        else
            each({value->low, {}});
    }
}

ByteValue ValueReader::Read(std::span<const Token> value) const
{
    const Token &first = value.front();
    const Token &last = value.back();
    const std::string_view text = m_text.substr(first.offset, last.offset + last.text.size() - first.offset);
    const Evaluated evaluated = value.size() > kLongestValue ? Failed(Failure::NoSingleValue)
                                                             : Evaluator(*this, first.offset).Evaluate(value, 0);
    switch (evaluated.failure) {
    case Failure::NoNumber:
        return {0, "\"" + std::string(evaluated.detail) + "\" on " + Place(first) + " is no whole number C reads"};
    case Failure::UnknownName:
        return {0, "the name " + std::string(evaluated.detail) + " on " + Place(first)
                       + " is not #defined above it as a value"};
    case Failure::NoSingleValue:
    case Failure::SeveralValues:
        return {0, "\"" + std::string(text) + "\" on " + Place(first) + " is no single value",
                evaluated.failure == Failure::SeveralValues};
    case Failure::TooDeep:
        return {0, "\"" + std::string(text) + "\" on " + Place(first)
                       + " stands for macros that stand for macros more than " + std::to_string(kDeepestMacro)
                       + " deep, which are taken to go round in a circle"};
    case Failure::DependsOnCondition:
        return {0, "the name " + std::string(evaluated.detail) + " on " + Place(first)
                       + " has a value that depends on \"" + DirectiveText(evaluated.branch->condition) + "\" on line "
                       + std::to_string(evaluated.branch->line)};
    case Failure::None:
        break;
    }
    const Integer &integer = evaluated.value;
    if (integer.negative && integer.magnitude > 128)
        return {0, "the value " + std::string(text) + " on " + Place(first) + " is under -128"};
    if (!integer.negative && integer.magnitude > 255)
        return {0, "the value " + std::string(text) + " on " + Place(first) + " is over 255"};
    return {integer.low, {}};
}

} // namespace tessaldo
