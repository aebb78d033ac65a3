#include "core/session/History.h"

#include <algorithm>
#include <iterator>

namespace tessaldo {

void History::Push(std::string caption, const Document &before, const Document &after)
{
    const std::vector<Picture> &was = before.pictures;
    const std::vector<Picture> &is = after.pictures;
    const std::size_t shorter = std::min(was.size(), is.size());
    const std::size_t head = static_cast<std::size_t>(
        std::mismatch(was.begin(), was.begin() + static_cast<std::ptrdiff_t>(shorter), is.begin()).first - was.begin());
    std::size_t tail = 0;
    while (tail < shorter - head && was[was.size() - 1 - tail] == is[is.size() - 1 - tail])
        ++tail;
    const auto run = [head, tail](const std::vector<Picture> &pictures) {
        return std::vector<Picture>(pictures.begin() + static_cast<std::ptrdiff_t>(head),
                                    pictures.end() - static_cast<std::ptrdiff_t>(tail));
    };
    m_steps.resize(static_cast<std::size_t>(m_index));
    m_steps.push_back({std::move(caption), head, Side{before.type, before.form, before.current, run(was)},
                       Side{after.type, after.form, after.current, run(is)}});
    ++m_index;
    if (Count() > kSteps) {
        m_steps.pop_front();
        --m_index;
    }
}

std::optional<Document> History::Undo(const Document &shown)
{
    if (!CanUndo())
        return std::nullopt;
    --m_index;
    const Step &step = m_steps[static_cast<std::size_t>(m_index)];
    return Replaced(shown, step.at, step.after, step.before);
}

std::optional<Document> History::Redo(const Document &shown)
{
    if (!CanRedo())
        return std::nullopt;
    ++m_index;
    const Step &step = m_steps[static_cast<std::size_t>(m_index - 1)];
    return Replaced(shown, step.at, step.before, step.after);
}

Document History::Replaced(const Document &shown, std::size_t at, const Side &from, const Side &to)
{
    Document document;
    document.type = to.type;
    document.form = to.form;
    document.current = to.current;
    document.pictures.clear();
    document.pictures.reserve(shown.pictures.size() - from.pictures.size() + to.pictures.size());
    const auto start = shown.pictures.begin() + static_cast<std::ptrdiff_t>(at);
    document.pictures.insert(document.pictures.end(), shown.pictures.begin(), start);
    document.pictures.insert(document.pictures.end(), to.pictures.begin(), to.pictures.end());
    document.pictures.insert(document.pictures.end(), start + static_cast<std::ptrdiff_t>(from.pictures.size()),
                             shown.pictures.end());
    return document;
}

} // namespace tessaldo
