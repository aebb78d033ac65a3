#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace tessaldo {

enum class TokenKind { Identifier, Number, String, Character, Punctuation };

struct Token {
    TokenKind kind;
    std::string_view text;
    int line;
    int column;
    std::size_t offset; // in the text the lexer reads
};

// Splits C source into tokens one at a time, so that a large text never
// stands in memory twice; copying the lexer keeps a place to come back to.
// Comments, line splices and preprocessor lines are dropped; anything
// unknown is punctuation.
class Lexer {
public:
    // Told the offset of each preprocessor line's '#'.
    using DirectiveSeen = std::function<void(std::size_t offset)>;

    explicit Lexer(std::string_view text, const DirectiveSeen *directiveSeen = nullptr);

    std::optional<Token> Next();

private:
    bool StartsWith(std::string_view prefix) const;
    bool AtSplice() const;
    void Advance(std::size_t count);
    void SkipToLineEnd(bool continued);
    void SkipBlockComment();
    std::size_t Span(bool (*part)(char)) const;
    std::size_t QuotedLength(char quote) const;
    Token TokenHere();

    std::string_view m_text;
    const DirectiveSeen *m_directiveSeen;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
    bool m_lineHasToken = false;
};

bool IsPunctuation(const Token &token, char c);

} // namespace tessaldo
