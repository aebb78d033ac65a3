#include "core/code/CodeConditions.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace tessaldo {
namespace {

Truth Not(Truth truth)
{
    return truth == Truth::Unknown ? truth : truth == Truth::True ? Truth::False : Truth::True;
}

bool OpensGroup(std::string_view word)
{
    return word == "if" || word == "ifdef" || word == "ifndef";
}

bool GoesOnGroup(std::string_view word)
{
    return word == "elif" || word == "elifdef" || word == "elifndef" || word == "else";
}

} // namespace

std::optional<SkippedText> UnsettledBranches::LaterBranches(std::size_t offset) const
{
    const auto after = std::upper_bound(m_stretches.begin(), m_stretches.end(), offset,
                                        [](std::size_t at, const Stretch &stretch) { return at < stretch.begin; });
    if (after == m_stretches.begin() || std::prev(after)->branch == 0)
        return std::nullopt;
    const Branch &branch = m_branches[std::prev(after)->branch - 1];
    const std::size_t conditionalEnd = m_conditionalEnds[branch.conditional];
    if (branch.end >= conditionalEnd)
        return std::nullopt;
    return SkippedText{branch.end, conditionalEnd};
}

ConditionTracker::ConditionTracker(std::size_t textSize, LookUp lookUp, std::vector<SkippedText> &skipped,
                                   std::vector<OpenBranch> &branches, UnsettledBranches &unsettled)
    : m_textSize(textSize),
      m_lookUp(std::move(lookUp)),
      m_skipped(skipped),
      m_branches(branches),
      m_unsettled(unsettled)
{
}

void ConditionTracker::Directive(std::size_t offset, int line, std::string_view word, std::string_view rest)
{
    if (OpensGroup(word) && (m_nestedInSkipped > 0 || Skipping())) {
        ++m_nestedInSkipped;
    } else if (m_nestedInSkipped > 0) {
        m_nestedInSkipped -= word == "endif" ? 1 : 0;
    } else if (OpensGroup(word)) {
        Group group;
        group.enclosing = InnermostUnsettled();
        m_groups.push_back(group);
        StartBranch(offset, line, Condition(word, rest, offset));
    } else if (!m_groups.empty() && GoesOnGroup(word)) {
        Group &group = m_groups.back();
        EndBranch(offset);
        // After a branch whose condition holds, no later one is taken, whether or not that one is reached.
        group.earlierTaken = group.earlierTaken || group.conditionHolds;
        group.earlierInDoubt = group.earlierInDoubt || group.taken == Truth::Unknown;
        StartBranch(offset, line, group.earlierTaken ? Truth::False : Condition(word, rest, offset));
    } else if (!m_groups.empty() && word == "endif") {
        EndGroup(offset);
    }
}

bool ConditionTracker::Skipping() const
{
    return !m_groups.empty() && m_groups.back().taken == Truth::False;
}

// Where text is not skipped, the last group in doubt is in doubt in its present branch.
std::uint32_t ConditionTracker::OpenBranchAt(std::size_t offset)
{
    if (m_doubts.empty())
        return 0;
    Doubt &doubt = m_doubts.back();
    if (doubt.branch == 0) {
        m_branches.push_back({offset, m_textSize, doubt.condition, doubt.line});
        doubt.branch = static_cast<std::uint32_t>(m_branches.size());
    }
    return doubt.branch;
}

void ConditionTracker::Finish()
{
    while (!m_groups.empty())
        EndGroup(m_textSize);
}

Truth ConditionTracker::Condition(std::string_view word, std::string_view rest, std::size_t offset) const
{
    if (word == "else")
        return Truth::True;
    const auto lookUp = [this, offset](std::string_view name) { return m_lookUp(name, offset); };
    if (!word.ends_with("def"))
        return ConditionHolds(rest, lookUp);
    Lexer lexer(rest);
    const std::optional<Token> name = lexer.Next();
    if (!name || name->kind != TokenKind::Identifier || lexer.Next())
        return Truth::Unknown;
    const Truth defined = lookUp(name->text).defined;
    return word.ends_with("ndef") ? Not(defined) : defined;
}

// A branch whose condition holds is in doubt after one that is.
void ConditionTracker::StartBranch(std::size_t offset, int line, Truth condition)
{
    Group &group = m_groups.back();
    group.conditionHolds = condition == Truth::True;
    const Truth taken = group.conditionHolds && group.earlierInDoubt ? Truth::Unknown : condition;
    group.taken = taken;
    if (taken == Truth::Unknown && !group.earlierInDoubt)
        m_doubts.push_back({m_groups.size() - 1, offset, line});
    if (taken == Truth::False)
        m_skipped.push_back({offset, m_textSize});
    if (taken == Truth::Unknown) {
        if (group.conditional == 0) {
            m_unsettled.m_conditionalEnds.push_back(m_textSize);
            group.conditional = static_cast<std::uint32_t>(m_unsettled.m_conditionalEnds.size());
        }
        m_unsettled.m_branches.push_back({m_textSize, group.conditional - 1});
        group.unsettled = static_cast<std::uint32_t>(m_unsettled.m_branches.size());
    }
    EnterStretch(offset, InnermostUnsettled());
}

void ConditionTracker::EndBranch(std::size_t offset)
{
    Group &group = m_groups.back();
    if (group.taken == Truth::False)
        m_skipped.back().end = offset;
    if (group.unsettled != 0)
        m_unsettled.m_branches[group.unsettled - 1].end = offset;
    group.unsettled = 0;
    if (!m_doubts.empty() && m_doubts.back().group == m_groups.size() - 1 && m_doubts.back().branch != 0) {
        m_branches[m_doubts.back().branch - 1].end = offset;
        m_doubts.back().branch = 0;
    }
}

void ConditionTracker::EndGroup(std::size_t offset)
{
    EndBranch(offset);
    if (!m_doubts.empty() && m_doubts.back().group == m_groups.size() - 1)
        m_doubts.pop_back();
    if (m_groups.back().conditional != 0)
        m_unsettled.m_conditionalEnds[m_groups.back().conditional - 1] = offset;
    m_groups.pop_back();
    EnterStretch(offset, InnermostUnsettled());
}

std::uint32_t ConditionTracker::InnermostUnsettled() const
{
    if (m_groups.empty())
        return 0;
    return m_groups.back().unsettled != 0 ? m_groups.back().unsettled : m_groups.back().enclosing;
}

void ConditionTracker::EnterStretch(std::size_t offset, std::uint32_t branch)
{
    std::vector<UnsettledBranches::Stretch> &stretches = m_unsettled.m_stretches;
    if (!stretches.empty() && stretches.back().branch == branch)
        return;
    if (!stretches.empty() && stretches.back().begin == offset)
        stretches.back().branch = branch;
    else
        stretches.push_back({offset, branch});
}

} // namespace tessaldo
