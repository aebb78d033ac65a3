#pragma once

#include "core/code/CodeConditions.h"
#include "core/code/CodeLexer.h"

#include <cstdint>
#include <functional>
#include <map>
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
    bool maybeSeveral = false; // a macro that stands for a list: the value may be several
};

// The names a compiler's command line defines (-D NAME=VALUE; -D NAME is
// NAME=1). Given any, they are all it defines: a name neither among them nor
// #defined in the text is undefined, as to that compiler. Given none, such a
// name may come from anywhere (a header, the toolchain), and a condition on
// it is in doubt.
using CommandLineDefines = std::map<std::string, std::string, std::less<>>;

// The text's named constants by name, `const int W = 128;`, each with the
// expression that gives its value: a picture's side is written so as often
// as with a #define.
using NamedConstants = std::map<std::string_view, std::string_view, std::less<>>;

// What a name stands for at a place: the replacement of an object-like
// #define above it, and whether another branch of a conditional may give
// it another.
struct Definition {
    std::optional<std::string_view> replacement;
    const OpenBranch *dependsOn = nullptr;
};

// Whether `name` is one of the constants Arduino's core defines for every
// byte written in binary, B0 to B11111111.
bool IsArduinoBinary(std::string_view name);

// Reads values as a C compiler fills a char array with them: integer
// constants, character constants, casts to an integer type, signs, Arduino's
// binary constants and object-like macros #defined above the value, in the
// branches of #if, #ifdef, ... that the text tells taken.
class ValueReader {
public:
    // A value is a few tokens; longer ones are expressions this reader does not work out.
    static constexpr std::size_t kLongestValue = 24;

    explicit ValueReader(std::string_view text, CommandLineDefines defines = {});

    // `value` is the tokens of one value, taken from the text.
    ByteValue Read(std::span<const Token> value) const;

    // The bytes C puts in a char array for the string literal `literal`, the terminating NUL not among them.
    void ReadString(const Token &literal, const std::function<void(const ByteValue &)> &each) const;

    // What `name` stands for at `offset`.
    Definition Replacement(std::string_view name, std::size_t offset) const;

    // The whole number the constant expression `expression` at `offset`
    // stands for, where the #defines above it and `constants` tell it.
    std::optional<std::int64_t> WholeNumber(std::string_view expression, std::size_t offset,
                                            const NamedConstants &constants) const;

    // Text that the preprocessor surely leaves out, in order.
    const std::vector<SkippedText> &Skipped() const { return m_skipped; }
    // Where the branches stand that the text alone does not settle.
    const UnsettledBranches &Unsettled() const { return m_unsettled; }

    // `#ifdef SMALL`: the preprocessor line at `offset`, for a message.
    std::string DirectiveText(std::size_t offset) const;

private:
    // What follows one #define or #undef in the text.
    struct Reach {
        std::uint32_t latest = 0; // the last of its name up to it that is not skipped, plus one
        std::uint32_t branch = 0; // the open branch it stands in, plus one
    };

    void CollectDirectives();
    void FollowConditions();
    std::size_t IndexOf(std::string_view name, std::size_t offset) const;
    // The #define or #undef of `name` that holds at `offset`, as an index, or none.
    std::optional<std::size_t> Latest(std::string_view name, std::size_t offset) const;
    const OpenBranch *DependsOn(std::size_t directive, std::size_t offset) const;
    Truth IsDefined(std::string_view name, std::size_t offset) const;
    NameMeaning Meaning(std::string_view name, std::size_t offset) const;
    std::string_view NameAt(std::size_t directive) const;

    std::string_view m_text;
    std::vector<std::size_t> m_directives; // #define and #undef lines, by name and then place
    std::vector<Reach> m_reach;            // of each of them
    std::vector<SkippedText> m_skipped;
    std::vector<OpenBranch> m_branches;
    UnsettledBranches m_unsettled;
    CommandLineDefines m_defines;
};

} // namespace tessaldo
