#include "EditSession.h"

#include "CodeGenerator.h"
#include "DrawingFile.h"

#include <algorithm>

namespace tessaldo {

void EditSession::ToggleDot(int dot)
{
    Change("Dot " + std::to_string(dot), [dot](Document &document) {
        DotState &state = document.Edited().dots.at(static_cast<std::size_t>(dot));
        state = state == DotState::Set ? DotState::Clear : DotState::Set;
    });
}

void EditSession::SetType(LcdType type)
{
    Change("Type " + std::to_string(LcdTypeValue(type)), [type](Document &document) { document.type = type; });
}

void EditSession::Apply(Transform transform)
{
    Change(std::string(TransformName(transform)), [transform](Document &document) {
        DotGrid grid = document.Grid();
        ApplyTransform(grid, transform);
        document.Edited().dots = grid.AllDots();
    });
}

void EditSession::TakeDots(const std::string &caption, const DotGrid::Dots &dots)
{
    Change(caption, [&dots](Document &document) { document.Edited().dots = dots; });
}

void EditSession::Open(const Drawing &drawing)
{
    Change("Open", [&drawing](Document &document) {
        DotGrid grid = document.Grid();
        ApplyDrawing(grid, drawing);
        document.type = grid.nLCDType();
        document.Edited().dots = grid.AllDots();
    });
    m_clean = m_document;
    Announce();
}

void EditSession::New()
{
    Change("New", [](Document &document) { document.Edited().dots = {}; });
    m_codeMadeFrom.reset();
    Announce();
}

void EditSession::Paint(std::span<const int> dots, DotState state)
{
    if (!m_strokeStart)
        m_strokeStart = m_document;
    for (const int dot : dots)
        m_document.Edited().dots.at(static_cast<std::size_t>(dot)) = state;
    Announce();
}

void EditSession::EndStroke()
{
    if (!m_strokeStart)
        return;
    const Document before = *std::exchange(m_strokeStart, std::nullopt);
    if (before == m_document)
        return;
    m_history.Push("Stroke", before, m_document);
    Announce();
}

void EditSession::Undo()
{
    EndStroke();
    Show(m_history.Undo());
}

void EditSession::Redo()
{
    EndStroke();
    Show(m_history.Redo());
}

void EditSession::MarkSaved()
{
    EndStroke();
    m_clean = m_document;
    Announce();
}

bool EditSession::IsClean() const
{
    // By value, so that a dot set and cleared again, or a drag still under way, is judged by what it shows.
    return m_document == m_clean;
}

std::string EditSession::Run()
{
    EndStroke();
    m_codeMadeFrom = m_document.Edited().dots;
    Announce();
    return LCDtoCODE(Grid());
}

void EditSession::ForgetCode()
{
    m_codeMadeFrom.reset();
    Announce();
}

bool EditSession::CodeIsStale() const
{
    return m_codeMadeFrom && *m_codeMadeFrom != m_document.Edited().dots;
}

bool EditSession::IsEnabled(CommandId id, bool somethingToPaste) const
{
    switch (id) {
    case CommandId::Undo:
        return m_history.CanUndo();
    case CommandId::Redo:
        return m_history.CanRedo();
    case CommandId::Paste:
        return somethingToPaste;
    default:
        return true;
    }
}

bool EditSession::Perform(CommandId id)
{
    const std::span<const EditorCommand> commands = EditorCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [id](const EditorCommand &candidate) { return candidate.id == id; });
    if (id == CommandId::Undo)
        Undo();
    else if (id == CommandId::Redo)
        Redo();
    else if (command->transform)
        Apply(*command->transform);
    else
        return false;
    return true;
}

void EditSession::Change(const std::string &caption, const std::function<void(Document &)> &edit)
{
    EndStroke();
    Document after = m_document;
    edit(after);
    if (after == m_document)
        return; // a step that changes nothing would only make Undo look broken
    m_history.Push(caption, m_document, after);
    m_document = std::move(after);
    Announce();
}

void EditSession::Show(const std::optional<Document> &document)
{
    if (!document)
        return;
    m_document = *document;
    Announce();
}

void EditSession::Announce() const
{
    for (const Listener &listener : m_listeners)
        listener();
}

} // namespace tessaldo
