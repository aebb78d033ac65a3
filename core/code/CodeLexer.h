#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// Whether `c` is white space in C source and the text formats read beside it.
bool IsSpace(char c);
// The text without the white space around it.
std::string_view Trimmed(std::string_view text);

// Source that an editor saved as UTF-16 (Windows' "Unicode"), told by its
// byte-order mark or by the zero byte beside each ASCII character, as UTF-8;
// nothing for any other text.
std::optional<std::string> Utf8FromUtf16(std::string_view bytes);

enum class TokenKind { Identifier, Number, String, Character, Punctuation };

struct Token {
    TokenKind kind;
    std::string_view text;
    int line;
    int column;
    std::size_t offset; // in the text the lexer reads
};

// Text from `begin` to `end` that the preprocessor leaves out.
struct SkippedText {
    std::size_t begin;
    std::size_t end;
};

// Splits C source into tokens one at a time, so that a large text never
// stands in memory twice; copying the lexer keeps a place to come back to.
// Comments, line splices and preprocessor lines are dropped, and so is
// skipped text (in order, none inside another); anything unknown is
// punctuation. A line ends at LF, CR LF or a lone CR.
class Lexer {
public:
    // Told the offset and line of each preprocessor line's '#'.
    using DirectiveSeen = std::function<void(std::size_t offset, int line)>;

    explicit Lexer(std::string_view text, const DirectiveSeen *directiveSeen = nullptr,
                   const std::vector<SkippedText> *skipped = nullptr);

    std::optional<Token> Next();

    // Leaves out `text` as well, which stands after the present place: the
    // later branches of a conditional, read as the preprocessor does when it
    // takes the present one. Nothing: no more than it leaves out anyway.
    void AlsoLeaveOut(const std::optional<SkippedText> &text);
    // Whether it has passed what AlsoLeaveOut gave.
    bool LeftOut() const { return m_leftOut; }
    // Where it has read to.
    std::size_t Offset() const { return m_pos; }
    // Moves on to `offset`, at the start of a preprocessor line after the present place.
    void SkipTo(std::size_t offset);

private:
    bool StartsWith(std::string_view prefix) const;
    bool AtLineEnd(std::size_t at) const;
    std::size_t SpliceLength() const;
    bool AtSkippedText() const;
    void Advance(std::size_t count);
    void SkipToLineEnd(bool continued);
    void SkipBlockComment();
    std::size_t Span(bool (*part)(char)) const;
    std::size_t QuotedLength(char quote) const;
    Token TokenHere();

    std::string_view m_text;
    const DirectiveSeen *m_directiveSeen;
    const std::vector<SkippedText> *m_skipped;
    std::size_t m_nextSkipped = 0;
    std::optional<SkippedText> m_alsoLeftOut;
    bool m_leftOut = false;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
    bool m_lineHasToken = false;
};

bool IsPunctuation(const Token &token, char c);

} // namespace tessaldo
