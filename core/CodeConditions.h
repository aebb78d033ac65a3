#pragma once

#include "CodeLexer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tessaldo {

enum class Truth : std::uint8_t { False, True, Unknown };

// A branch of a conditional that the text alone does not tell taken or not,
// from the first #define in it to where it ends.
struct OpenBranch {
    std::size_t begin;
    std::size_t end;       // the text's size while the branch is being read
    std::size_t condition; // where the conditional's first condition in doubt stands
    int line;              // and on which line
};

// Follows #if, #ifdef, #ifndef, #elif, #else and #endif as the preprocessor
// does, as far as the text alone tells: 0 and 1, and whether a name is
// defined. Anything more (F_CPU > 8000000, a name the compiler's command
// line may give) leaves both branches possible.
class ConditionTracker {
public:
    // Whether `name` is defined at `offset`, as far as the text above it tells.
    using IsDefined = std::function<Truth(std::string_view name, std::size_t offset)>;

    // Adds to `skipped` and `branches` as it goes.
    ConditionTracker(std::size_t textSize, IsDefined isDefined, std::vector<SkippedText> &skipped,
                     std::vector<OpenBranch> &branches);

    // Told each preprocessor line in order: its directive's name and what follows it.
    void Directive(std::size_t offset, int line, std::string_view word, std::string_view rest);
    // Whether the present place is in text the preprocessor surely leaves out.
    bool Skipping() const;
    // The innermost branch around `offset` that may or may not be taken: its
    // index in the branches plus one, or 0 when there is none.
    std::uint32_t OpenBranchAt(std::size_t offset);
    // Ends what the text leaves open.
    void Finish();

private:
    // One conditional being read, around text that is not skipped; kept
    // small, as a text may nest a great many.
    struct Group {
        Truth taken = Truth::Unknown;
        bool earlierTaken = false;
        bool earlierInDoubt = false;
    };
    // A group being read whose present branch is in doubt, or skipped after one that was.
    struct Doubt {
        std::size_t group;
        std::size_t condition; // its first condition in doubt
        int line;
        std::uint32_t branch = 0; // the present branch in m_branches plus one, once it needs one
    };

    Truth Condition(std::string_view word, std::string_view rest, std::size_t offset) const;
    void StartBranch(std::size_t offset, int line, Truth taken);
    void EndBranch(std::size_t offset);
    void EndGroup(std::size_t offset);

    std::size_t m_textSize;
    IsDefined m_isDefined;
    std::vector<Group> m_groups;
    std::vector<Doubt> m_doubts;
    std::size_t m_nestedInSkipped = 0;
    std::vector<SkippedText> &m_skipped;
    std::vector<OpenBranch> &m_branches;
};

} // namespace tessaldo
