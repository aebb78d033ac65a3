#include "History.h"

namespace tessaldo {

void History::Push(std::string caption, const Document &before, const Document &after)
{
    m_steps.resize(static_cast<std::size_t>(m_index));
    m_steps.push_back({std::move(caption), before, after});
    ++m_index;
    if (Count() > kSteps) {
        m_steps.pop_front();
        --m_index;
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
