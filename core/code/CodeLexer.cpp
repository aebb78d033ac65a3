#include "core/code/CodeLexer.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tessaldo {

namespace {

void AppendUtf8(std::string &text, char32_t character)
{
    if (character < 0x80) {
        text += static_cast<char>(character);
        return;
    }
    const int continuation = character < 0x800 ? 1 : character < 0x10000 ? 2 : 3;
    constexpr std::array<unsigned, 4> kLead{0, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(kLead.at(continuation) | (character >> (6 * continuation)));
    for (int i = continuation - 1; i >= 0; --i)
        text += static_cast<char>(0x80U | ((character >> (6 * i)) & 0x3FU));
}

// Whether the bytes are UTF-16 with the low byte first: by the mark, or, for
// text without one, by a zero high byte under most of its first characters
// and no zero character, as source in ASCII with a few words in another
// script gives.
std::optional<bool> Utf16LowFirst(std::string_view bytes)
{
    // The raw bytes of a picture are never taken for text.
    constexpr std::size_t kRawPicture = 33;
    constexpr std::size_t kLookedAt = 128;
    if (bytes.size() <= kRawPicture)
        return std::nullopt;
    if (bytes.starts_with("\xFF\xFE"))
        return true;
    if (bytes.starts_with("\xFE\xFF"))
        return false;
    const std::size_t looked = std::min(bytes.size(), kLookedAt) & ~std::size_t{1};
    for (const bool lowFirst : {true, false}) {
        std::size_t ascii = 0;
        for (std::size_t at = 0; at < looked; at += 2) {
            const char low = bytes[at + (lowFirst ? 0 : 1)];
            const char high = bytes[at + (lowFirst ? 1 : 0)];
            if (low == '\0' && high == '\0')
                return std::nullopt;
            ascii += high == '\0' ? 1 : 0;
        }
        if (ascii * 4 >= looked / 2 * 3)
            return lowFirst;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> Utf8FromUtf16(std::string_view bytes)
{
    const std::optional<bool> lowFirst = Utf16LowFirst(bytes);
    if (!lowFirst)
        return std::nullopt;
    const auto unit = [&bytes, &lowFirst](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(*lowFirst ? first | (second << 8) : (first << 8) | second);
    };
    constexpr char32_t kReplacement = 0xFFFD;
    std::string text;
    text.reserve(bytes.size() / 2);
    const std::size_t start = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ? 2 : 0;
    for (std::size_t at = start; at + 1 < bytes.size(); at += 2) {
        const char32_t first = unit(at);
        const bool high = first >= 0xD800 && first < 0xDC00;
        const char32_t second = high && at + 3 < bytes.size() ? unit(at + 2) : 0;
        if (high && second >= 0xDC00 && second < 0xE000) {
            AppendUtf8(text, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
            at += 2;
        } else {
            AppendUtf8(text, first >= 0xD800 && first < 0xE000 ? kReplacement : first);
        }
    }
    return text;
}
namespace {

bool IsIdentifierStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsIdentifierPart(char c)
{
    return IsIdentifierStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsNumberPart(char c)
{
    return IsIdentifierPart(c) || c == '.' || c == '\'';
}

} // namespace

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

Lexer::Lexer(std::string_view text, const DirectiveSeen *directiveSeen, const std::vector<SkippedText> *skipped)
    : m_text(text),
      m_directiveSeen(directiveSeen),
      m_skipped(skipped)
{
}

std::optional<Token> Lexer::Next()
{
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (m_alsoLeftOut && m_pos >= m_alsoLeftOut->begin) {
            SkipTo(m_alsoLeftOut->end);
            m_alsoLeftOut.reset();
            m_leftOut = true;
        } else if (AtSkippedText()) {
            Advance((*m_skipped)[m_nextSkipped++].end - m_pos);
        } else if (AtLineEnd(m_pos)) {
            Advance(1);
            m_lineHasToken = false;
        } else if (IsSpace(c)) {
            Advance(1);
        } else if (const std::size_t splice = SpliceLength(); splice > 0) {
            Advance(splice);
        } else if (StartsWith("//")) {
            SkipToLineEnd(false);
        } else if (StartsWith("/*")) {
            SkipBlockComment();
        } else if (c == '#' && !m_lineHasToken) {
            if (m_directiveSeen != nullptr)
                (*m_directiveSeen)(m_pos, m_line);
            SkipToLineEnd(true);
        } else {
            m_lineHasToken = true;
            return TokenHere();
        }
    }
    return std::nullopt;
}

void Lexer::AlsoLeaveOut(const std::optional<SkippedText> &text)
{
    m_alsoLeftOut = text;
    m_leftOut = false;
}

void Lexer::SkipTo(std::size_t offset)
{
    Advance(offset > m_pos ? offset - m_pos : 0);
    while (m_skipped != nullptr && m_nextSkipped < m_skipped->size() && (*m_skipped)[m_nextSkipped].end <= m_pos)
        ++m_nextSkipped;
    m_lineHasToken = false;
}

bool Lexer::StartsWith(std::string_view prefix) const
{
    return m_text.substr(m_pos).starts_with(prefix);
}

// The CR of a CR LF is no line end of its own: its LF is.
bool Lexer::AtLineEnd(std::size_t at) const
{
    return m_text[at] == '\n' || (m_text[at] == '\r' && !m_text.substr(at + 1).starts_with('\n'));
}

// A backslash at a line's end joins the next line to it: how long the two are, or 0.
std::size_t Lexer::SpliceLength() const
{
    if (m_text[m_pos] != '\\' || m_pos + 1 >= m_text.size() || !AtLineEnd(m_pos + 1))
        return m_text.substr(m_pos).starts_with("\\\r\n") ? 3 : 0;
    return 2;
}

bool Lexer::AtSkippedText() const
{
    return m_skipped != nullptr && m_nextSkipped < m_skipped->size() && m_pos >= (*m_skipped)[m_nextSkipped].begin;
}

void Lexer::Advance(std::size_t count)
{
    for (; count > 0 && m_pos < m_text.size(); --count, ++m_pos) {
        if (AtLineEnd(m_pos)) {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
    }
}

void Lexer::SkipToLineEnd(bool continued)
{
    while (m_pos < m_text.size() && !AtLineEnd(m_pos))
        Advance(continued ? std::max<std::size_t>(SpliceLength(), 1) : 1);
}

void Lexer::SkipBlockComment()
{
    const std::size_t end = m_text.find("*/", m_pos + 2);
    Advance(end == std::string_view::npos ? m_text.size() - m_pos : end + 2 - m_pos);
}

std::size_t Lexer::Span(bool (*part)(char)) const
{
    std::size_t end = m_pos;
    while (end < m_text.size() && part(m_text[end]))
        ++end;
    return end - m_pos;
}

std::size_t Lexer::QuotedLength(char quote) const
{
    std::size_t end = m_pos + 1;
    while (end < m_text.size() && m_text[end] != quote && m_text[end] != '\n' && m_text[end] != '\r')
        end += m_text[end] == '\\' ? 2 : 1;
    return std::min(end + 1, m_text.size()) - m_pos;
}

Token Lexer::TokenHere()
{
    const char c = m_text[m_pos];
    TokenKind kind = TokenKind::Punctuation;
    std::size_t length = 1;
    if (IsIdentifierStart(c)) {
        kind = TokenKind::Identifier;
        length = Span(IsIdentifierPart);
    } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
        kind = TokenKind::Number;
        length = Span(IsNumberPart);
    } else if (c == '"' || c == '\'') {
        kind = c == '"' ? TokenKind::String : TokenKind::Character;
        length = QuotedLength(c);
    }
    const Token token{kind, m_text.substr(m_pos, length), m_line, m_column, m_pos};
    Advance(length);
    return token;
}

bool IsPunctuation(const Token &token, char c)
{
    return token.kind == TokenKind::Punctuation && token.text.size() == 1 && token.text[0] == c;
}

} // namespace tessaldo
