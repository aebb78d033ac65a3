#pragma once

#include "core/model/BitLayout.h"
#include "core/session/EditorCommands.h"
#include "core/session/History.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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
    // Pictures pasted or dropped as code: the first in the edited one's place,
    // the rest after it, each name made unique in the set. Gives "" or a note
    // of the names it had to change, for the user to read.
    std::string TakePictures(const std::string &caption, std::vector<Picture> pictures);
    void Open(const Drawing &drawing);
    // A clear picture to start again from; the code is no one's any more.
    void New();

    // The set. Each change is one step; the picture added, copied or moved
    // becomes the one edited. The set never loses its last picture.
    void AddPicture();
    void CopyPicture();
    void DeletePicture();
    void MovePicture(std::size_t from, std::size_t to);
    // Why the name or delay cannot be the picture's, or "" when it now is.
    std::string RenamePicture(std::size_t index, const std::string &name);
    std::string SetDelay(std::size_t index, int delayMs);
    void SetForm(SetForm form);
    // A set read from a header, a source, a GIF or drawing files, as one step
    // and a clean point: it is what the user has on disk. `layout`: the one a
    // header of this program holds its pictures in, which saving it keeps.
    void OpenSet(Document set, BitLayout layout = BitLayout::Module);
    BitLayout HeaderLayout() const { return m_headerLayout; }
    // A document someone shared by a link: one step, so that Undo gives back
    // what was there, and no clean point, as it is saved nowhere yet.
    void OpenShared(Document document);
    // Work kept from an earlier visit, as it was left: the document and the
    // set last saved, with no steps to take back.
    void Restore(Document document, Document saved);
    // Which picture is edited. No step: Undo takes back changes, not looking around.
    void Select(std::size_t index);
    // More than one picture: the set is what is saved, not one picture.
    bool HoldsSet() const { return m_document.pictures.size() > 1; }

    // The previous picture's dots shown faintly under the grid, for drawing
    // the next frame of an animation; never part of any code, and not while
    // playing, which shows what the module would.
    void SetOnionSkin(bool on);
    std::optional<DotGrid::Dots> OnionDots() const;

    // The form "Copy as C Array" copies the picture in: the module's array
    // unless the user chose another, which the window and the page remember.
    void SetArrayForm(CodeFormat form);
    CodeFormat ArrayForm() const { return m_arrayForm; }
    // The edited picture in that form, as the clipboard gets it.
    std::string ArrayText() const;

    // Playing shows the set picture by picture; the window's or page's timer
    // calls ShowNextFrame after the shown picture's delay. No step either.
    void SetPlaying(bool on);
    bool IsPlaying() const { return m_playing; }
    // Moves on to the next picture, from the last to the first, and gives how
    // long to show it: its ShownDelayMs.
    int ShowNextFrame();
    int ShownMs() const { return ShownDelayMs(m_document.Edited().delayMs); }

    // A drag shows its dots at once and becomes one step when it ends, or
    // when anything else happens first.
    void Paint(std::span<const int> dots, DotState state);
    void EndStroke();

    void Undo();
    void Redo();

    // Clean: the set equals the one last saved, opened or started with.
    // New is no such point: the picture it clears is still to be saved.
    // Saving or opening one picture's file is one only for a set of one.
    void PictureSaved();
    void SetSaved();
    bool IsClean() const;
    // What is asked before the work is closed or replaced: "" when clean, else
    // whether to save the set (while it holds several pictures) or the picture.
    std::string_view SaveChangesQuestion() const;
    // The set as last saved, opened or started with.
    const Document &SavedDoc() const { return m_clean; }

    // The code for the picture, remembered as made from its dots.
    std::string Run();
    // The code box now holds what no picture made: typed, copied out or emptied.
    void ForgetCode();
    // The code was made from dots the picture no longer has.
    bool CodeIsStale() const;
    // What the copy key takes to the clipboard: the code box's `shown` text,
    // or the picture's own code, run first, where the box's is stale. `text`
    // is empty where there is nothing to copy, and the clipboard is then left
    // as it is; `note` says why, or that Run went first.
    struct KeyCopy {
        std::string text;
        std::string note;
    };
    KeyCopy CopyByKey(const std::string &shown);

    // Undo and Redo while there is a step to take, Paste while something can be
    // pasted, the commands that walk, reorder, delete or play the set while it
    // has somewhere to go, the rest always.
    bool IsEnabled(CommandId id, bool somethingToPaste) const;
    // Whether a checkable command is on.
    bool IsChecked(CommandId id) const;
    // Those that need no more from the user than the command; false for a
    // command the window or page carries out itself.
    bool Perform(CommandId id);

private:
    void Change(const std::string &caption, const std::function<void(Document &)> &edit);
    void Show(const std::optional<Document> &document);
    // The whole document replaced as one step; the code is no one's any more.
    void Replace(const std::string &caption, Document document);
    void Announce() const;
    // `base`, or base_2, base_3, ...: the first no picture but the one at `except` has, without case.
    static std::string UniqueName(const std::vector<Picture> &pictures, const std::string &base, std::size_t except);

    Document m_document;
    History m_history;
    std::optional<Document> m_strokeStart; // the document before the drag being painted
    std::optional<DotGrid::Dots> m_codeMadeFrom;
    Document m_clean;
    bool m_onionSkin = false;
    CodeFormat m_arrayForm = CodeFormat::C;
    BitLayout m_headerLayout = BitLayout::Module;
    bool m_playing = false;
    std::vector<Listener> m_listeners;
};

} // namespace tessaldo
