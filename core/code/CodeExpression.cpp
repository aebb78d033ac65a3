#include "core/code/CodeExpression.h"

#include "core/code/CodeLexer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <vector>

namespace tessaldo {
namespace {

// A condition that stands for more tokens than this, its macros expanded, is not worked out.
constexpr std::size_t kLongestCondition = 256;

// A value as the preprocessor works it out, in 64 bits, signed or unsigned.
// The value may be unknown (a name's that the text does not tell), and so
// may its type, where it depends on such a value; an error (a division by
// zero) is unknown too, but counts even where a known operand would
// otherwise settle an && or ||.
struct Value {
    bool known = false;
    bool typeKnown = false;
    bool isUnsigned = false;
    bool error = false;
    std::uint64_t bits = 0; // two's complement
};

Value Signed(std::int64_t value)
{
    return {true, true, false, false, static_cast<std::uint64_t>(value)};
}

Value UnknownValue(bool typeKnown = false, bool isUnsigned = false)
{
    return {false, typeKnown, isUnsigned, false, 0};
}

Value Error()
{
    return {false, false, false, true, 0};
}

std::int64_t AsSigned(std::uint64_t bits)
{
    return static_cast<std::int64_t>(bits);
}

// An integer constant: decimal, hex, octal or binary, with C's suffixes and C++'s digit separators.
std::optional<Value> NumberValue(std::string_view text)
{
    bool isUnsigned = false;
    while (!text.empty() && std::string_view("uUlL").find(text.back()) != std::string_view::npos) {
        isUnsigned = isUnsigned || text.back() == 'u' || text.back() == 'U';
        text.remove_suffix(1);
    }
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X' || text[1] == 'b' || text[1] == 'B')) {
        base = text[1] == 'x' || text[1] == 'X' ? 16 : 2;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        base = 8;
        text.remove_prefix(1);
    }
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c == '\'')
            continue;
        const unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                               : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                               : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
                                                      : base;
        if (digit >= base || value > (kLargest - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    // A constant too large for a signed one is unsigned, as compilers take it.
    const bool tooLarge = value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return Value{true, true, isUnsigned || tooLarge, false, value};
}

// A token of the condition with its macros expanded: a value, or an operator when `op` is not empty.
struct Item {
    std::string_view op;
    Value value;
};

constexpr std::array<std::string_view, 8> kTwoCharacterOperators = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
constexpr std::string_view kOneCharacterOperators = "()!~-+*/%<>&^|?:";

// The condition's tokens with its macros expanded, `defined` worked out
// and every name left over 0, as the preprocessor reads them.
class Expansion {
public:
    explicit Expansion(const NameLookUp &lookUp) : m_lookUp(lookUp) {}

    // False where the text holds what no #if holds, or stands for too much.
    bool Add(std::string_view text, int depth)
    {
        if (depth > kDeepestMacro)
            return false;
        std::vector<Token> tokens;
        Lexer lexer(text);
        for (std::optional<Token> token = lexer.Next(); token; token = lexer.Next()) {
            if (tokens.size() + m_items.size() >= kLongestCondition)
                return false;
            tokens.push_back(*token);
        }
        for (std::size_t at = 0; at < tokens.size();) {
            if (m_items.size() >= kLongestCondition || !AddFrom(tokens, at, depth))
                return false;
        }
        return true;
    }

    std::span<const Item> Items() const { return m_items; }

private:
    // Adds what the tokens from `at` on begin with, and moves `at` past them.
    bool AddFrom(std::span<const Token> tokens, std::size_t &at, int depth)
    {
        const Token &token = tokens[at++];
        switch (token.kind) {
        case TokenKind::Punctuation:
            return AddOperator(tokens, at, token);
        case TokenKind::Number: {
            const std::optional<Value> value = NumberValue(token.text);
            if (value)
                m_items.push_back({{}, *value});
            return value.has_value();
        }
        case TokenKind::Character: // a character's value depends on the compiler's character set
            m_items.push_back({{}, UnknownValue()});
            return true;
        case TokenKind::Identifier:
            return token.text == "defined" ? AddDefined(tokens, at) : AddName(tokens, at, token.text, depth);
        case TokenKind::String:
            break;
        }
        return false;
    }

    bool AddOperator(std::span<const Token> tokens, std::size_t &at, const Token &token)
    {
        if (at < tokens.size() && tokens[at].kind == TokenKind::Punctuation && tokens[at].offset == token.offset + 1) {
            const std::string pair{token.text[0], tokens[at].text[0]};
            for (const std::string_view two : kTwoCharacterOperators) {
                if (pair == two) {
                    m_items.push_back({two, {}});
                    ++at;
                    return true;
                }
            }
        }
        const std::size_t one = kOneCharacterOperators.find(token.text[0]);
        if (one == std::string_view::npos)
            return false;
        m_items.push_back({kOneCharacterOperators.substr(one, 1), {}});
        return true;
    }

    // `defined NAME` or `defined ( NAME )`, from after `defined`.
    bool AddDefined(std::span<const Token> tokens, std::size_t &at)
    {
        const bool parenthesised = at < tokens.size() && IsPunctuation(tokens[at], '(');
        const std::size_t name = at + (parenthesised ? 1 : 0);
        if (name >= tokens.size() || tokens[name].kind != TokenKind::Identifier)
            return false;
        if (parenthesised && (name + 1 >= tokens.size() || !IsPunctuation(tokens[name + 1], ')')))
            return false;
        at = name + (parenthesised ? 2 : 1);
        const Truth defined = m_lookUp(tokens[name].text).defined;
        m_items.push_back(
            {{}, defined == Truth::Unknown ? UnknownValue(true) : Signed(defined == Truth::True ? 1 : 0)});
        return true;
    }

    bool AddName(std::span<const Token> tokens, std::size_t &at, std::string_view name, int depth)
    {
        // A macro is not expanded inside its own expansion, where it is a name left over.
        const bool expanding = std::find(m_expanding.begin(), m_expanding.end(), name) != m_expanding.end();
        const NameMeaning meaning = expanding ? NameMeaning{Truth::False, std::nullopt} : m_lookUp(name);
        if (meaning.defined == Truth::True && meaning.replacement) {
            m_expanding.push_back(name);
            const bool added = Add(*meaning.replacement, depth + 1);
            m_expanding.pop_back();
            return added;
        }
        if (at < tokens.size() && IsPunctuation(tokens[at], '('))
            return AddCall(tokens, at);
        // C++ reads these two as 1 and 0 where C's <stdbool.h> defines them so.
        if (name == "true" || name == "false")
            m_items.push_back({{}, Signed(name == "true" ? 1 : 0)});
        else
            m_items.push_back({{}, meaning.defined == Truth::Unknown ? UnknownValue() : Signed(0)});
        return true;
    }

    // A function-like macro's call, as __has_include(...) or a version test, whose value is not worked out.
    bool AddCall(std::span<const Token> tokens, std::size_t &at)
    {
        int depth = 0;
        for (; at < tokens.size(); ++at) {
            depth += IsPunctuation(tokens[at], '(') ? 1 : IsPunctuation(tokens[at], ')') ? -1 : 0;
            if (depth == 0) {
                ++at;
                m_items.push_back({{}, UnknownValue()});
                return true;
            }
        }
        return false;
    }

    const NameLookUp &m_lookUp;
    std::vector<Item> m_items;
    std::vector<std::string_view> m_expanding; // the macros being expanded
};

Value Unary(std::string_view op, const Value &value)
{
    if (value.error)
        return value;
    if (op == "!")
        return value.known ? Signed(value.bits == 0 ? 1 : 0) : UnknownValue(true);
    Value result = value;
    if (op == "~")
        result.bits = ~value.bits;
    else if (op == "-")
        result.bits = std::uint64_t{0} - value.bits; // wraps as the preprocessor does
    return result;
}

// && and ||: an operand that settles it settles it, the other unread, whatever that holds.
Value Logical(bool isOr, const Value &left, const Value &right)
{
    const auto settles = [isOr](const Value &value) { return value.known && (value.bits != 0) == isOr; };
    if (settles(left))
        return Signed(isOr ? 1 : 0);
    if (left.error || right.error)
        return Error();
    if (settles(right))
        return Signed(isOr ? 1 : 0);
    return left.known && right.known ? Signed(isOr ? 0 : 1) : UnknownValue(true);
}

// The result is of the left operand's type; a count out of 0 to 63 is left unsettled.
Value Shift(bool left, const Value &value, const Value &count)
{
    if (value.error || count.error)
        return Error();
    Value result = UnknownValue(value.typeKnown, value.isUnsigned);
    constexpr std::uint64_t kBits = 64;
    if (!value.known || !count.known || count.bits >= kBits || (!left && !value.typeKnown))
        return result;
    result.known = true;
    if (left)
        result.bits = value.bits << count.bits;
    else if (value.isUnsigned)
        result.bits = value.bits >> count.bits;
    else
        result.bits = static_cast<std::uint64_t>(AsSigned(value.bits) >> count.bits);
    return result;
}

std::optional<Value> Comparison(std::string_view op, const Value &left, const Value &right)
{
    const bool isEquality = op == "==" || op == "!=";
    if (!isEquality && op != "<" && op != ">" && op != "<=" && op != ">=")
        return std::nullopt;
    if (left.error || right.error)
        return Error();
    if (!left.known || !right.known || (!isEquality && !(left.typeKnown && right.typeKnown)))
        return UnknownValue(true);
    if (isEquality)
        return Signed((left.bits == right.bits) == (op == "==") ? 1 : 0);
    const bool isUnsigned = left.isUnsigned || right.isUnsigned;
    const bool less = isUnsigned ? left.bits < right.bits : AsSigned(left.bits) < AsSigned(right.bits);
    const bool greater = isUnsigned ? left.bits > right.bits : AsSigned(left.bits) > AsSigned(right.bits);
    const bool holds = op == "<" ? less : op == ">" ? greater : op == "<=" ? !greater : !less;
    return Signed(holds ? 1 : 0);
}

// / and %: by zero an error; the one quotient that overflows wraps, as compilers give it.
Value Division(bool remainder, Value result, const Value &left, const Value &right)
{
    if (right.known && right.bits == 0)
        return Error();
    if (!left.known || !right.known || !result.typeKnown)
        return result;
    result.known = true;
    constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
    if (result.isUnsigned)
        result.bits = remainder ? left.bits % right.bits : left.bits / right.bits;
    else if (AsSigned(left.bits) == kLeast && AsSigned(right.bits) == -1)
        result.bits = remainder ? 0 : left.bits;
    else
        result.bits = static_cast<std::uint64_t>(remainder ? AsSigned(left.bits) % AsSigned(right.bits)
                                                           : AsSigned(left.bits) / AsSigned(right.bits));
    return result;
}

Value Binary(std::string_view op, const Value &left, const Value &right)
{
    if (op == "&&" || op == "||")
        return Logical(op == "||", left, right);
    if (op == "<<" || op == ">>")
        return Shift(op == "<<", left, right);
    if (const std::optional<Value> compared = Comparison(op, left, right))
        return *compared;
    if (left.error || right.error)
        return Error();
    // Either operand unsigned makes both so, as C's conversions do.
    Value result = UnknownValue(left.typeKnown && right.typeKnown, left.isUnsigned || right.isUnsigned);
    if (op == "/" || op == "%")
        return Division(op == "%", result, left, right);
    if (!left.known || !right.known)
        return result;
    result.known = true;
    // Unsigned arithmetic wraps; signed values wrap with it, as compilers give them.
    if (op == "+")
        result.bits = left.bits + right.bits;
    else if (op == "-")
        result.bits = left.bits - right.bits;
    else if (op == "*")
        result.bits = left.bits * right.bits;
    else if (op == "&")
        result.bits = left.bits & right.bits;
    else if (op == "^")
        result.bits = left.bits ^ right.bits;
    else
        result.bits = left.bits | right.bits;
    return result;
}

// `c ? a : b`: the branch not taken is not read, though its type counts.
Value Choice(const Value &condition, const Value &ifTrue, const Value &ifFalse)
{
    if (condition.error || (!condition.known && (ifTrue.error || ifFalse.error)))
        return Error();
    Value result = !condition.known ? UnknownValue() : condition.bits != 0 ? ifTrue : ifFalse;
    result.typeKnown = ifTrue.typeKnown && ifFalse.typeKnown;
    result.isUnsigned = ifTrue.isUnsigned || ifFalse.isUnsigned;
    return result;
}

// The binary operators from the loosest to the tightest.
constexpr std::array<std::array<std::string_view, 4>, 10> kLevels = {{{"||"},
                                                                      {"&&"},
                                                                      {"|"},
                                                                      {"^"},
                                                                      {"&"},
                                                                      {"==", "!="},
                                                                      {"<", ">", "<=", ">="},
                                                                      {"<<", ">>"},
                                                                      {"+", "-"},
                                                                      {"*", "/", "%"}}};

// Reads an expanded condition by C's grammar and works out its value.
class Parser {
public:
    explicit Parser(std::span<const Item> items) : m_items(items) {}

    // None where the items are no expression.
    std::optional<Value> Whole()
    {
        const Value value = Conditional();
        if (m_broken || m_at != m_items.size())
            return std::nullopt;
        return value;
    }

private:
    bool Take(std::string_view op)
    {
        if (m_at >= m_items.size() || m_items[m_at].op != op)
            return false;
        ++m_at;
        return true;
    }

    Value Conditional()
    {
        const Value condition = Level(0);
        if (!Take("?"))
            return condition;
        const Value ifTrue = Conditional();
        m_broken = m_broken || !Take(":");
        const Value ifFalse = Conditional();
        return Choice(condition, ifTrue, ifFalse);
    }

    Value Level(std::size_t level)
    {
        if (level == kLevels.size())
            return Operand();
        Value left = Level(level + 1);
        while (m_at < m_items.size() && !m_items[m_at].op.empty()) {
            const std::array<std::string_view, 4> &ops = kLevels.at(level);
            if (std::find(ops.begin(), ops.end(), m_items[m_at].op) == ops.end())
                break;
            const std::string_view op = m_items[m_at++].op;
            left = Binary(op, left, Level(level + 1));
        }
        return left;
    }

    Value Operand()
    {
        if (m_at >= m_items.size()) {
            m_broken = true;
            return Error();
        }
        const Item &item = m_items[m_at++];
        if (item.op.empty())
            return item.value;
        if (item.op == "(") {
            const Value inside = Conditional();
            m_broken = m_broken || !Take(")");
            return inside;
        }
        if (item.op == "!" || item.op == "~" || item.op == "-" || item.op == "+")
            return Unary(item.op, Operand());
        m_broken = true;
        return Error();
    }

    std::span<const Item> m_items;
    std::size_t m_at = 0;
    bool m_broken = false;
};

} // namespace

namespace {

std::optional<Value> KnownValue(std::string_view expression, const NameLookUp &lookUp)
{
    Expansion expansion(lookUp);
    if (!expansion.Add(expression, 0))
        return std::nullopt;
    const std::optional<Value> value = Parser(expansion.Items()).Whole();
    if (!value || !value->known)
        return std::nullopt;
    return value;
}

} // namespace

Truth ConditionHolds(std::string_view condition, const NameLookUp &lookUp)
{
    const std::optional<Value> value = KnownValue(condition, lookUp);
    if (!value)
        return Truth::Unknown;
    return value->bits != 0 ? Truth::True : Truth::False;
}

std::optional<std::int64_t> ExpressionValue(std::string_view expression, const NameLookUp &lookUp)
{
    const std::optional<Value> value = KnownValue(expression, lookUp);
    if (!value)
        return std::nullopt;
    return AsSigned(value->bits);
}

} // namespace tessaldo
