#include "CodeConditions.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace tessaldo {
namespace {

// A condition longer than this is an expression this reader does not work out.
constexpr std::size_t kLongestCondition = 8;

Truth Not(Truth truth)
{
    return truth == Truth::Unknown ? truth : truth == Truth::True ? Truth::False : Truth::True;
}

bool IsDecimal(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// `0`, `1`, `defined NAME`, `defined(NAME)`, an undefined NAME, each perhaps after `!`.
Truth Evaluate(std::span<const Token> tokens, const ConditionTracker::IsDefined &isDefined, std::size_t offset)
{
    if (tokens.empty())
        return Truth::Unknown;
    if (IsPunctuation(tokens.front(), '!'))
        return Not(Evaluate(tokens.subspan(1), isDefined, offset));
    if (tokens.size() == 1 && tokens.front().kind == TokenKind::Number && IsDecimal(tokens.front().text))
        return tokens.front().text.find_first_not_of('0') == std::string_view::npos ? Truth::False : Truth::True;
    // A name that is surely undefined is 0 to the preprocessor; a defined one has a value not worked out here.
    if (tokens.size() == 1 && tokens.front().kind == TokenKind::Identifier && tokens.front().text != "defined")
        return isDefined(tokens.front().text, offset) == Truth::False ? Truth::False : Truth::Unknown;
    if (tokens.front().text != "defined")
        return Truth::Unknown;
    if (tokens.size() == 2 && tokens[1].kind == TokenKind::Identifier)
        return isDefined(tokens[1].text, offset);
    if (tokens.size() == 4 && IsPunctuation(tokens[1], '(') && tokens[2].kind == TokenKind::Identifier
        && IsPunctuation(tokens[3], ')'))
        return isDefined(tokens[2].text, offset);
    return Truth::Unknown;
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

ConditionTracker::ConditionTracker(std::size_t textSize, IsDefined isDefined, std::vector<SkippedText> &skipped,
                                   std::vector<OpenBranch> &branches)
    : m_textSize(textSize),
      m_isDefined(std::move(isDefined)),
      m_skipped(skipped),
      m_branches(branches)
{
}

void ConditionTracker::Directive(std::size_t offset, int line, std::string_view word, std::string_view rest)
{
    if (OpensGroup(word) && (m_nestedInSkipped > 0 || Skipping())) {
        ++m_nestedInSkipped;
    } else if (m_nestedInSkipped > 0) {
        m_nestedInSkipped -= word == "endif" ? 1 : 0;
    } else if (OpensGroup(word)) {
        m_groups.emplace_back();
        StartBranch(offset, line, Condition(word, rest, offset));
    } else if (!m_groups.empty() && GoesOnGroup(word)) {
        Group &group = m_groups.back();
        EndBranch(offset);
        group.earlierTaken = group.earlierTaken || group.taken == Truth::True;
        group.earlierInDoubt = group.earlierInDoubt || group.taken == Truth::Unknown;
        Truth taken = group.earlierTaken ? Truth::False : Condition(word, rest, offset);
        if (taken == Truth::True && group.earlierInDoubt)
            taken = Truth::Unknown;
        StartBranch(offset, line, taken);
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
    std::vector<Token> tokens;
    Lexer lexer(rest);
    for (std::optional<Token> token = lexer.Next(); token && tokens.size() <= kLongestCondition; token = lexer.Next())
        tokens.push_back(*token);
    if (word.ends_with("def") && tokens.size() == 1 && tokens.front().kind == TokenKind::Identifier) {
        const Truth defined = m_isDefined(tokens.front().text, offset);
        return word.ends_with("ndef") ? Not(defined) : defined;
    }
    return word.ends_with("def") ? Truth::Unknown : Evaluate(tokens, m_isDefined, offset);
}

void ConditionTracker::StartBranch(std::size_t offset, int line, Truth taken)
{
    Group &group = m_groups.back();
    group.taken = taken;
    if (taken == Truth::Unknown && !group.earlierInDoubt)
        m_doubts.push_back({m_groups.size() - 1, offset, line});
    if (taken == Truth::False)
        m_skipped.push_back({offset, m_textSize});
}

void ConditionTracker::EndBranch(std::size_t offset)
{
    if (m_groups.back().taken == Truth::False)
        m_skipped.back().end = offset;
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
    m_groups.pop_back();
}

} // namespace tessaldo
