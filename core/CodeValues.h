#pragma once

#include "CodeLexer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// The byte one value in the code stands for, or why it gives none.
struct ByteValue {
    std::uint8_t byte = 0;
    std::string problem;
};

// Reads values as a C compiler fills a char array with them: integer
// constants, character constants, casts to an integer type, signs, Arduino's
// binary constants and object-like macros #defined above the value.
class ValueReader {
public:
    // A value is a few tokens; longer ones are expressions this reader does not work out.
    static constexpr std::size_t kLongestValue = 24;

    explicit ValueReader(std::string_view text);

    // `value` is the tokens of one value, taken from the text.
    ByteValue Read(std::span<const Token> value) const;

    // What `name` stands for at `offset`, if an object-like #define above it gave it a value.
    std::optional<std::string_view> Replacement(std::string_view name, std::size_t offset) const;

private:
    std::string_view NameAt(std::size_t directive) const;

    std::string_view m_text;
    std::vector<std::size_t> m_directives; // #define and #undef lines, by name and then place
};

} // namespace tessaldo
