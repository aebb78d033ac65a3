#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace tessaldo {

enum class Truth : std::uint8_t { False, True, Unknown };

// Macros that stand for macros this deep are taken to go round in a circle.
constexpr int kDeepestMacro = 32;

// What a name is at a place, as far as the text above it and the compiler's command line tell.
struct NameMeaning {
    Truth defined = Truth::Unknown;
    // What an object-like macro stands for, where `defined` is True; none for a function-like one.
    std::optional<std::string_view> replacement;
};
using NameLookUp = std::function<NameMeaning(std::string_view name)>;

// Whether the condition of an #if or #elif holds, worked out as the C
// preprocessor does: integer constants, `defined`, macros expanded, names
// left over 0, and C's operators in 64 bits. Unknown where a name's value,
// a division by zero, a function-like macro or anything else it does not
// read leaves the answer open.
Truth ConditionHolds(std::string_view condition, const NameLookUp &lookUp);

// The value of a constant expression, worked out the same way, where it is
// known: a picture's width written `LOGO_WIDTH` or `128 / 2`. A name the
// look-up does not know is unknown here, not 0: it may be a variable.
std::optional<std::int64_t> ExpressionValue(std::string_view expression, const NameLookUp &lookUp);

} // namespace tessaldo
