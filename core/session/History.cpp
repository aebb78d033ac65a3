#include "core/session/History.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <tuple>

namespace tessaldo {

namespace {

// Whether the two pictures differ in their dots alone, and keep their size.
bool OnlyDotsDiffer(const Picture &was, const Picture &is)
{
    return was.name == is.name && was.delayMs == is.delayMs && was.glyph == is.glyph
           && was.dots.Size() == is.dots.Size();
}

DotState Flipped(DotState state)
{
    return state == DotState::Set ? DotState::Clear : DotState::Set;
}

} // namespace

std::optional<std::vector<History::DotRun>> History::FlippedRuns(const Dots &was, const Dots &is)
{
    const std::size_t most = MostRuns(was);
    std::vector<DotRun> runs;
    auto from = was.begin();
    auto to = is.begin();
    while (true) {
        std::tie(from, to) = std::mismatch(from, was.end(), to);
        if (from == was.end()) {
            runs.shrink_to_fit(); // kept for as long as the step, ten thousand of them
            return runs;
        }
        if (runs.size() == most)
            return std::nullopt;
        const auto first = from;
        std::tie(from, to) = std::mismatch(from, was.end(), to, std::not_equal_to<>());
        runs.push_back({static_cast<std::uint32_t>(first - was.begin()), static_cast<std::uint32_t>(from - first)});
    }
}

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
    auto [beforeSide, afterSide] = Sides(before, after);
    Step step{std::move(caption), head, std::move(beforeSide), std::move(afterSide), {}};
    const bool onePicture = was.size() == is.size() && head + tail + 1 == was.size() && before.type == after.type
                            && before.form == after.form && before.font == after.font
                            && before.current == after.current;
    std::optional<std::vector<DotRun>> flipped;
    if (onePicture && OnlyDotsDiffer(was[head], is[head]))
        flipped = FlippedRuns(was[head].dots, is[head].dots);
    if (flipped) {
        step.flipped = std::move(*flipped);
    } else {
        step.before.pictures = run(was);
        step.after.pictures = run(is);
    }
    Keep(std::move(step));
}

void History::PushFlips(std::string caption, const Document &after, const std::vector<int> &dots)
{
    std::vector<DotRun> runs;
    for (const int dot : dots) {
        const auto at = static_cast<std::uint32_t>(dot);
        if (!runs.empty() && runs.back().first + runs.back().count == at)
            ++runs.back().count;
        else
            runs.push_back({at, 1});
    }
    if (runs.size() > MostRuns(after.Edited().dots)) {
        Document before = after;
        for (const int dot : dots) {
            DotState &state = before.Edited().dots.at(static_cast<std::size_t>(dot));
            state = Flipped(state);
        }
        Push(std::move(caption), before, after);
        return;
    }
    runs.shrink_to_fit();
    auto [side, same] = Sides(after, after);
    Keep({std::move(caption), after.current, std::move(side), std::move(same), std::move(runs)});
}

std::pair<History::Side, History::Side> History::Sides(const Document &before, const Document &after)
{
    const auto metrics = [](const Document &document) {
        return document.font ? std::make_shared<const FontMetrics>(*document.font) : nullptr;
    };
    std::shared_ptr<const FontMetrics> was = metrics(before);
    std::shared_ptr<const FontMetrics> is = before.font == after.font ? was : metrics(after);
    return {Side{before.type, before.form, std::move(was), before.current, {}},
            Side{after.type, after.form, std::move(is), after.current, {}}};
}

void History::Keep(Step step)
{
    m_steps.resize(static_cast<std::size_t>(m_index));
    m_steps.push_back(std::move(step));
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
    return Replaced(shown, step, step.after, step.before);
}

std::optional<Document> History::Redo(const Document &shown)
{
    if (!CanRedo())
        return std::nullopt;
    ++m_index;
    const Step &step = m_steps[static_cast<std::size_t>(m_index - 1)];
    return Replaced(shown, step, step.before, step.after);
}

std::size_t History::KeptBytes() const
{
    std::size_t bytes = sizeof(History) + m_steps.size() * sizeof(Step);
    const auto pictureBytes = [](const std::vector<Picture> &pictures) {
        std::size_t held = pictures.capacity() * sizeof(Picture);
        for (const Picture &picture : pictures)
            held += picture.name.capacity() + picture.dots.size() * sizeof(DotState);
        return held;
    };
    for (const Step &step : m_steps)
        bytes += step.caption.capacity() + step.flipped.capacity() * sizeof(DotRun) + pictureBytes(step.before.pictures)
                 + pictureBytes(step.after.pictures);
    return bytes;
}

Document History::Replaced(const Document &shown, const Step &step, const Side &from, const Side &to)
{
    Document document;
    document.type = to.type;
    document.form = to.form;
    document.font = to.font ? std::optional(*to.font) : std::nullopt;
    document.current = to.current;
    if (!step.flipped.empty()) {
        document.pictures = shown.pictures;
        Dots &dots = document.pictures.at(step.at).dots;
        for (const DotRun &run : step.flipped)
            std::transform(dots.begin() + run.first, dots.begin() + run.first + run.count, dots.begin() + run.first,
                           Flipped);
        return document;
    }
    document.pictures.clear();
    document.pictures.reserve(shown.pictures.size() - from.pictures.size() + to.pictures.size());
    const auto start = shown.pictures.begin() + static_cast<std::ptrdiff_t>(step.at);
    document.pictures.insert(document.pictures.end(), shown.pictures.begin(), start);
    document.pictures.insert(document.pictures.end(), to.pictures.begin(), to.pictures.end());
    document.pictures.insert(document.pictures.end(), start + static_cast<std::ptrdiff_t>(from.pictures.size()),
                             shown.pictures.end());
    return document;
}

} // namespace tessaldo
