#include "History.h"

namespace tessaldo {

namespace {

constexpr int kNowhere = -1;

} // namespace

void History::Push(std::string caption, const Document &before, const Document &after)
{
    m_steps.resize(static_cast<std::size_t>(m_index));
    if (m_clean > m_index)
        m_clean = kNowhere;
    m_steps.push_back({std::move(caption), before, after});
    ++m_index;
    if (Count() > kSteps) {
        m_steps.pop_front();
        --m_index;
        m_clean = m_clean > 0 ? m_clean - 1 : kNowhere;
    }
}

std::optional<Document> History::Undo()
{
    if (!CanUndo())
        return std::nullopt;
    --m_index;
    return m_steps[static_cast<std::size_t>(m_index)].before;
}

std::optional<Document> History::Redo()
{
    if (!CanRedo())
        return std::nullopt;
    ++m_index;
    return m_steps[static_cast<std::size_t>(m_index - 1)].after;
}

} // namespace tessaldo
