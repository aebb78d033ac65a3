#pragma once

#include "core/code/CodeExpression.h"
#include "core/code/CodeLexer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaldo {

// A branch of a conditional that the text alone does not tell taken or not,
// from the first #define in it to where it ends.
struct OpenBranch {
    std::size_t begin;
    std::size_t end;       // the text's size while the branch is being read
    std::size_t condition; // where the conditional's first condition in doubt stands
    int line;              // and on which line
};

// Where the branches of conditionals stand that the text alone does not tell taken or not.
class UnsettledBranches {
public:
    // What the preprocessor leaves out when it takes the innermost such
    // branch that `offset` stands in: the later branches of its conditional,
    // to its #endif. Nothing where `offset` stands in none, or in the last.
    std::optional<SkippedText> LaterBranches(std::size_t offset) const;

private:
    friend class ConditionTracker;
    struct Branch {
        std::size_t end;           // where the next #elif, #else or #endif of its conditional stands
        std::uint32_t conditional; // in m_conditionalEnds
    };
    // Text from `begin` on whose innermost unsettled branch is `branch`, plus one; 0 for none.
    struct Stretch {
        std::size_t begin;
        std::uint32_t branch;
    };
    std::vector<Branch> m_branches;
    std::vector<std::size_t> m_conditionalEnds; // where their #endif stands
    std::vector<Stretch> m_stretches;           // in order
};

// Follows #if, #ifdef, #ifndef, #elif, #else and #endif as the preprocessor
// does, as far as the text alone tells: conditions are worked out with the
// values of names #defined above them. Anything more (F_CPU > 8000000 with
// F_CPU defined nowhere, a name the compiler's command line may give)
// leaves both branches possible.
class ConditionTracker {
public:
    // What `name` is at `offset`, as far as the text above it tells.
    using LookUp = std::function<NameMeaning(std::string_view name, std::size_t offset)>;

    // Adds to `skipped`, `branches` and `unsettled` as it goes.
    ConditionTracker(std::size_t textSize, LookUp lookUp, std::vector<SkippedText> &skipped,
                     std::vector<OpenBranch> &branches, UnsettledBranches &unsettled);

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
        bool earlierTaken = false; // an earlier branch's condition holds, whether or not that branch is reached
        bool earlierInDoubt = false;
        bool conditionHolds = false;   // the present branch's
        std::uint32_t unsettled = 0;   // the present branch in UnsettledBranches, plus one, when unsettled
        std::uint32_t enclosing = 0;   // the innermost unsettled branch around the group, so
        std::uint32_t conditional = 0; // in UnsettledBranches, plus one, once a branch is unsettled
    };
    // A group being read whose present branch is in doubt, or skipped after one that was.
    struct Doubt {
        std::size_t group;
        std::size_t condition; // its first condition in doubt
        int line;
        std::uint32_t branch = 0; // the present branch in m_branches plus one, once it needs one
    };

    Truth Condition(std::string_view word, std::string_view rest, std::size_t offset) const;
    void StartBranch(std::size_t offset, int line, Truth condition);
    void EndBranch(std::size_t offset);
    void EndGroup(std::size_t offset);
    std::uint32_t InnermostUnsettled() const;
    void EnterStretch(std::size_t offset, std::uint32_t branch);

    std::size_t m_textSize;
    LookUp m_lookUp;
    std::vector<Group> m_groups;
    std::vector<Doubt> m_doubts;
    std::size_t m_nestedInSkipped = 0;
    std::vector<SkippedText> &m_skipped;
    std::vector<OpenBranch> &m_branches;
    UnsettledBranches &m_unsettled;
};

} // namespace tessaldo
