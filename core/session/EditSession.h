#pragma once

#include "core/model/BitLayout.h"
#include "core/model/Displays.h"
#include "core/model/Resize.h"
#include "core/model/Shapes.h"
#include "core/platform/Result.h"
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

// The size typed as a width and a height, each a whole number from 1 to
// kLargestSide, or the sentence saying why not (New Picture… and Picture Size…).
Result<PictureSize> TypedPictureSize(std::string_view width, std::string_view height);

// The editing session the window and the page both show: the document, its
// history, the drag being painted and the dots the code was made from. Every
// change is announced to the listeners, which redraw from it. Pictures may be
// any size; a set's pictures share one, so what would give one picture
// another size than the rest is refused with the reason, and a resize acts
// on every picture at once.
class EditSession {
public:
    using Listener = std::function<void()>;

    void Subscribe(Listener listener) { m_listeners.push_back(std::move(listener)); }

    const Document &Doc() const { return m_document; }
    DotGrid Grid() const { return m_document.Grid(); }
    const History &Steps() const { return m_history; }

    // Each of these is one step of the history, and none at all when it changes nothing.
    void ToggleDot(int dot);
    // The type places the dots of a 16 x 16 picture only: at any other size
    // it is refused, with the sentence that says why, and the set keeps the
    // type it had for when it is made 16 x 16 again; "" when done.
    std::string SetType(LcdType type);
    // "" when done, or why not: a turn of a picture that is not square would
    // leave it another size than the rest of its set. Turning the others too
    // would change pictures the user is not looking at; resized to a square
    // first, the set lets each of its pictures turn alone.
    std::string Apply(Transform transform);
    // Dots a dialog, a paste or an import made, into the edited picture: ""
    // when taken, or why not where they are another size than the rest of
    // the set. A picture alone takes their size.
    std::string TakeDots(const std::string &caption, const DotGrid::Dots &dots);
    // Pictures pasted or dropped as code: the first in the edited one's place,
    // the rest after it, each name made unique in the set. Gives "" or a note
    // of the names it had to change, for the user to read, or, taking none,
    // why they cannot share the set's size.
    std::string TakePictures(const std::string &caption, std::vector<Picture> pictures);
    // As TakeDots for a drawing file's picture, which then is a clean point.
    std::string Open(const Drawing &drawing);
    // A clear picture of the same size to start again from; the code is no one's any more.
    void New();
    // The work replaced by one clear picture of `size`, in the set's type, as
    // one step, so that Undo gives the work back, and a clean point: the faces
    // ask to save the work first. "" when done, or why not: the size is none
    // a picture can have.
    std::string NewPicture(PictureSize size);

    // The set made another size as one step, every picture alike: cropped or
    // extended with clear dots, held at `anchor`; each dot made `factor` x
    // `factor` dots; or each such block one dot, set where at least half of
    // it is. "" when done, or the sentence saying why not.
    std::string Resize(PictureSize size, Anchor anchor = Anchor::TopLeft);
    std::string Enlarge(int factor);
    std::string Reduce(int factor);

    // The set. Each change is one step; the picture added, copied or moved
    // becomes the one edited, an added one clear at the set's size. The set
    // never loses its last picture.
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
    // header of this program holds its pictures in, which saving it keeps;
    // off 16 x 16 it becomes the array form, until the user chooses another.
    void OpenSet(Document set, BitLayout layout = BitLayout::Module);
    // The module's layout holds 16 x 16 pictures only: a set of any other
    // size is saved in the array form Copy as C Array copies it in.
    BitLayout HeaderLayout() const
    {
        return IsModuleSize(m_document.Size()) ? m_headerLayout : LayoutOfForm(ArrayForm());
    }
    // The layout given to OpenSet, the module's for a set that said none.
    BitLayout OpenedLayout() const { return m_headerLayout; }
    // A document someone shared by a link: one step, so that Undo gives back
    // what was there, and no clean point, as it is saved nowhere yet.
    void OpenShared(Document document);
    // Work kept from an earlier visit, as it was left: the document and the
    // set last saved, with no steps to take back.
    void Restore(Document document, Document saved);
    // A font's glyphs (GlyphSetOf), each a step. The baseline of the edited
    // glyph moved by `rows` (up where negative) and its advance changed by
    // `dots`, within its picture and no less than 0; nothing for a picture
    // that is no glyph.
    void MoveBaseline(int rows);
    void ChangeAdvance(int dots);
    // A clear glyph for `codePoint` in its place by character, before the
    // first glyph of a later one, and edited: "" when added, or why not (the
    // font has one for it already).
    std::string AddGlyph(char32_t codePoint);
    // Only the glyphs `text` draws kept: the sentence naming the characters
    // the font lacks ("" where it has all), and the text the preview's sample;
    // where it has none of them, that sentence and nothing changed.
    std::string KeepGlyphsForText(std::string_view text);
    // Whether the set is a font's, which the font's commands work on.
    bool HoldsFont() const { return m_document.font.has_value(); }

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
    // The module takes only 16 x 16 pictures: at any other size its forms
    // give way to SSD1306 pages, unless the user chose another of the sized forms.
    // Until the user chooses one, a picture of a display's size takes the form
    // that display takes; choosing a display for the preview chooses its form.
    void SetArrayForm(CodeFormat form);
    CodeFormat ArrayForm() const;
    // Where the array form is another than the preview's display takes, the
    // sentence that says so and the caption of the offer to switch; "" where it is the same.
    std::string FormAdvice() const;
    std::string FormSwitchCaption() const;
    // Takes the form the preview's display takes.
    void UseDisplaysForm();
    // The edited picture in that form, as the clipboard gets it.
    std::string ArrayText() const;
    // What "Copy as C Array" tells on screen it put on the clipboard: the size, the form and the bytes.
    std::string CopiedText() const;

    // Playing shows the set picture by picture; the window's or page's timer
    // calls ShowNextFrame after the shown picture's delay. No step either.
    void SetPlaying(bool on);
    bool IsPlaying() const { return m_playing; }
    // Moves on to the next picture, from the last to the first, and gives how
    // long to show it: its ShownDelayMs.
    int ShowNextFrame();
    int ShownMs() const { return ShownDelayMs(m_document.Edited().delayMs); }

    // A drag shows its dots at once and becomes one step when it ends, or
    // when anything else happens first. A shape's or a selection's drag ends the same way.
    void Paint(std::span<const int> dots, DotState state);
    void EndStroke();

    void Undo();
    void Redo();

    // The drawing tools. Choosing one, or filled shapes, is no step.
    void SetTool(Tool tool);
    Tool CurrentTool() const { return m_tool; }
    void SetFilledShapes(bool filled);
    bool FilledShapes() const { return m_filledShapes; }
    // The dots the shapes and the fill draw, set unless the user swapped the
    // colour, as in pixel editors, whatever dot they start on; the pencil
    // toggles whatever the colour. No step either.
    void SetToolColour(DotState colour);
    DotState ToolColour() const { return m_toolColour; }
    void SwapToolColour();
    // A line, box or ellipse of the chosen tool dragged from `from` to `to`,
    // `constrained` while Shift is held: shown at once in ToolColour(); each call
    // replaces the shape of the one before, and EndStroke makes the last one
    // step. Cells outside the picture are left out.
    void DragShape(Cell from, Cell to, bool constrained);
    // The shape being dragged given up: the picture as it was before, and no step.
    void CancelShape();
    // The dots a fill at `at` reaches made ToolColour(), as one step; nothing outside the picture.
    void Fill(Cell at);

    // The rectangle of cells selected, clipped to the picture; no step. Any
    // change but those below, and Undo and Redo, lets the selection go, as
    // its dots are then the picture's again.
    void SelectCells(Cell a, Cell b);
    void SelectAll();
    void SelectNone();
    std::optional<CellRect> Selection() const;
    // What the selection holds, as its own picture, for the clipboard.
    std::optional<Dots> SelectedDots() const;
    // Those dots as one array in ArrayForm(), named after the edited picture,
    // as Copy and Cut put them on the clipboard; "" without a selection.
    std::string SelectionArrayText() const;
    // What the selection holds dragged by `dx`, `dy` cells from where it was
    // when the drag began, clear dots left behind; what goes past the edge
    // comes back when dragged in again. Shown at once; EndStroke makes it one step.
    void DragSelection(int dx, int dy);
    // The selected dots cleared, as one step; the selection stays.
    void DeleteSelection();
    // `dots` laid over the picture with their top-left at `topLeft`, as one
    // step, and selected, to be dragged where they belong; "" when done, or
    // why not: the pasted picture is larger than this one.
    std::string PasteAt(const Dots &dots, Cell topLeft);

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

    // The code for the picture, remembered as made from its dots: the
    // module's printf lines, or off 16 x 16 the array in ArrayForm().
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
    // has somewhere to go, the turns while Apply would take them, the rest always.
    bool IsEnabled(CommandId id, bool somethingToPaste) const;
    // Whether a checkable command is on.
    bool IsChecked(CommandId id) const;
    // Those that need no more from the user than the command; false for a
    // command the window or page carries out itself.
    bool Perform(CommandId id);

    // Whether the preview of the picture as a display shows it stands beside
    // the canvas: while the user has not said, shown for any size but the
    // module's, whose window stays as it always was.
    void SetPreviewShown(bool shown);
    bool PreviewShown() const;
    // The display the preview shows the picture on: a preset of Displays(),
    // by default the first of the picture's size, and its colours, by default the preset's.
    void SetPreviewDisplay(std::size_t index);
    std::size_t PreviewDisplay() const;
    void SetPreviewColours(PanelColours colours);
    PanelColours PreviewColours() const;

private:
    // Whether the edited glyph's baseline or advance can move as the command asks.
    bool GlyphCanMove(CommandId id) const;
    // Whether the user chose a display for the preview or one is of the picture's size.
    bool ForADisplay() const;
    // A drag that shows its change at once and becomes one step when it
    // ends: the edited picture's dots before it, and the step's caption.
    struct LiveChange {
        std::string caption;
        Dots before;
        bool movesSelection; // a shape's drag and a selection's are two steps, even unended
    };
    // The selection: the cells it covers, and once it is dragged, the dots
    // it holds and the picture as it was with them lifted out.
    struct Selected {
        CellRect rect;
        std::optional<Dots> held;
        std::optional<Dots> under;
        Cell dragFrom;
    };
    void BeginLiveChange(const std::string &caption, bool movesSelection);
    void EndLiveChange();
    // The held dots laid over `under` at `rect`, into the edited picture.
    void PlaceSelection();
    void ApplyToSelection(Transform transform);
    void Change(const std::string &caption, const std::function<void(Document &)> &edit);
    // Whether the edited picture keeps the set's size through `transform`: all but a turn of one not square.
    bool Fits(Transform transform) const;
    // "" where the edited picture may take `size`: it is the set's, or the picture is alone.
    std::string SizeRefusal(PictureSize size) const;
    // Every picture's dots made by `resized` as one step.
    void ResizeAll(const std::string &caption, const std::function<Dots(const Dots &)> &resized);
    void Show(std::optional<Document> document);
    // The whole document replaced as one step; the code is no one's any more.
    void Replace(const std::string &caption, Document document);
    void Announce() const;
    // `base`, or base_2, base_3, ...: the first no picture but the one at `except` has, without case.
    static std::string UniqueName(const std::vector<Picture> &pictures, const std::string &base, std::size_t except);

    Document m_document;
    History m_history;
    // The drag being painted: each dot it changed, once for every change, so
    // that what it costs grows with the dots it reaches, not the picture's size.
    std::optional<std::vector<int>> m_stroke;
    std::optional<DotGrid::Dots> m_codeMadeFrom;
    Document m_clean;
    bool m_onionSkin = false;
    CodeFormat m_arrayForm = CodeFormat::C;
    BitLayout m_headerLayout = BitLayout::Module;
    bool m_playing = false;
    Tool m_tool = Tool::Pencil;
    DotState m_toolColour = DotState::Set;
    bool m_filledShapes = false;
    std::optional<LiveChange> m_live;
    std::optional<Selected> m_selection;
    std::optional<bool> m_previewShown;
    std::optional<std::size_t> m_previewDisplay;
    std::optional<PanelColours> m_previewColours;
    std::vector<Listener> m_listeners;
};

} // namespace tessaldo
