#pragma once

#include "EditorCommands.h"
#include "History.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaldo {

struct Drawing;

// The editing session the window and the page both show: the document, its
// history, the drag being painted and the dots the code was made from. Every
// change is announced to the listeners, which redraw from it.
class EditSession {
public:
    using Listener = std::function<void()>;

    void Subscribe(Listener listener) { m_listeners.push_back(std::move(listener)); }

    const Document &Doc() const { return m_document; }
    DotGrid Grid() const { return m_document.Grid(); }
    const History &Steps() const { return m_history; }

    // Each of these is one step of the history, and none at all when it changes nothing.
    void ToggleDot(int dot);
    void SetType(LcdType type);
    void Apply(Transform transform);
    // Dots a dialog, a paste or an import made, into the edited picture.
    void TakeDots(const std::string &caption, const DotGrid::Dots &dots);
    void Open(const Drawing &drawing);
    // A clear picture to start again from; the code is no one's any more.
    void New();

    // A drag shows its dots at once and becomes one step when it ends, or
    // when anything else happens first.
    void Paint(std::span<const int> dots, DotState state);
    void EndStroke();

    void Undo();
    void Redo();

    // Clean: the document equals the one last saved, opened or started with.
    // New is no such point: the picture it clears is still to be saved.
    void MarkSaved();
    bool IsClean() const;

    // The code for the picture, remembered as made from its dots.
    std::string Run();
    // The code box now holds what no picture made: typed, copied out or emptied.
    void ForgetCode();
    // The code was made from dots the picture no longer has.
    bool CodeIsStale() const;

    // Undo and Redo while there is a step to take, Paste while something can be
    // pasted, the rest always.
    bool IsEnabled(CommandId id, bool somethingToPaste) const;
    // Undo, Redo and the transforms; false for a command the window or page carries out itself.
    bool Perform(CommandId id);

private:
    void Change(const std::string &caption, const std::function<void(Document &)> &edit);
    void Show(const std::optional<Document> &document);
    void Announce() const;

    Document m_document;
    History m_history;
    std::optional<Document> m_strokeStart; // the document before the drag being painted
    std::optional<DotGrid::Dots> m_codeMadeFrom;
    Document m_clean;
    std::vector<Listener> m_listeners;
};

} // namespace tessaldo
