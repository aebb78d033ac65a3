// The editing session the page shows: the same one the window binds. The
// page subscribes once and redraws from it after every announced change.
// Defined by concern: Session.cpp (drawing, sizes, the preview, and the
// binding), SessionSets.cpp (the set's files) and SessionKept.cpp (the work
// kept in the browser's storage and shared as a link).
#pragma once

#include "web/binding/Convert.h"

#include "core/formats/DocumentText.h"
#include "core/session/EditSession.h"
#include "core/session/GridGesture.h"

#include <emscripten/val.h>

#include <cstddef>
#include <optional>
#include <string>

namespace tessaldo::page {

// A frame's delay as viewers show it: the browser gives a GIF's as written.
int FrameDelay(const emscripten::val &frame, bool gif);

class PageSession {
public:
    void Subscribe(emscripten::val listener);

    std::string Dots() const { return DotsOf(m_session.Doc().Edited().dots); }
    int Type() const { return LcdTypeValue(m_session.Doc().type); }

    void ToggleDot(int dot) { m_session.ToggleDot(dot); }
    void SetType(int type) { m_session.SetType(TypeOf(type)); }
    // Dots of the picture's size, as an import of it gives them, or else of the module's.
    void TakeDots(const std::string &caption, const std::string &dots);
    // Dots of a told size, as a paste read at the size chosen for it brings:
    // the picture takes that size; '' or why not (a set of another size).
    std::string TakeDotsOfSize(const std::string &caption, const std::string &dots, int width, int height);
    void NewPicture() { m_session.New(); }
    std::string TakePictures(const std::string &caption, const emscripten::val &pictures);

    // An image's frames, [{dots, delayMs}] at the picture's size, as the set the
    // window opens them as, in the type being edited. The browser gives a GIF's
    // delays as written; they are shown as viewers show them.
    void OpenFrames(const std::string &fileName, const emscripten::val &frames, bool gif);

    // A header or C source opened as the set: {problem, note, choices}, the
    // problem the whole message when nothing was opened, the note what was
    // passed over. Pictures that say no layout are read in `layout`; before
    // the user answered (""), nothing is opened while there are choices to ask about.
    emscripten::val OpenSetText(const std::string &fileName, const std::string &text, const std::string &layout);

    // A source read apart, in a worker of the page's, crosses as the text of
    // its document and the index of its layout in kEveryBitLayout; opened as
    // OpenSetText opens it.
    std::string DocumentText() const { return WriteDocumentText(m_session.Doc()); }
    int HeaderLayoutIndex() const;
    // The message when the set's text does not read back, "" when opened.
    std::string OpenSetDocument(const std::string &documentText, int layoutIndex);

    // Drawing files, [{name, bytes}], opened as the set in the order given, those
    // that do not open as one left out: {problem, note}, the problem the
    // message when none opened, the note the files left out and why.
    emscripten::val OpenSetDrawings(const emscripten::val &files);

    // A font's glyphs and metrics (web/binding/Fonts.cpp): opened, saved, a
    // glyph added by its character, the glyphs a text draws kept.
    emscripten::val OpenFont(const std::string &fileName, const emscripten::val &bytes, bool drawn);
    emscripten::val FontFile(const std::string &fileName, int mode) const;
    std::string AddGlyph(int codePoint) { return m_session.AddGlyph(static_cast<char32_t>(codePoint)); }
    std::string KeepGlyphsForText(const std::string &text) { return m_session.KeepGlyphsForText(text); }
    bool HoldsFont() const { return m_session.HoldsFont(); }
    std::string SampleText() const;
    // The edited glyph's {baseline, originColumn, advance} in dots, and the
    // columns its advance reaches right of the picture (beyond), which the
    // canvas makes room for; null for a picture that is no glyph.
    emscripten::val GlyphLines() const;

    // The header the set is saved as under `fileName`: {text, problem}.
    emscripten::val SetHeaderText(const std::string &fileName) const;

    // The drawing files the set is saved as in the folder `folderName`:
    // {files: [{name, bytes}], problem}.
    emscripten::val SetFolderFiles(const std::string &folderName) const;

    // The same files in a zip archive, in the folder `folderName` inside it,
    // dated `time` ({year, month, day, hour, minute, second}): {bytes, problem}.
    emscripten::val SetFolderZip(const std::string &folderName, const emscripten::val &time) const;

    // The set: its size, the edited picture, and any picture's name, delay and dots.
    std::size_t Count() const { return m_session.Doc().pictures.size(); }
    std::size_t Current() const { return m_session.Doc().current; }
    std::string PictureName(std::size_t index) const { return PictureAt(index).name; }
    // What the strip shows for a picture: a glyph's character, any other picture's name.
    std::string StripCaption(std::size_t index) const;
    int PictureDelay(std::size_t index) const { return PictureAt(index).delayMs; }
    std::string PictureAccessibleName(std::size_t index) const
    {
        return tessaldo::PictureAccessibleName(m_session.Doc(), index);
    }
    std::string PictureAccessibleDescription(std::size_t index) const
    {
        return tessaldo::PictureAccessibleDescription(m_session.Doc(), index);
    }
    std::string PictureDots(std::size_t index) const { return DotsOf(PictureAt(index).dots); }
    void Select(std::size_t index) { m_session.Select(index); }
    void MovePicture(std::size_t from, std::size_t to) { m_session.MovePicture(from, to); }
    std::string RenamePicture(std::size_t index, const std::string &name)
    {
        return m_session.RenamePicture(index, name);
    }
    std::string SetDelay(std::size_t index, int delayMs) { return m_session.SetDelay(index, delayMs); }
    // The previous picture's dots under the grid, or "" when none are shown.
    std::string OnionDots() const
    {
        const std::optional<DotGrid::Dots> dots = m_session.OnionDots();
        return dots ? DotsOf(*dots) : std::string();
    }
    void SetPlaying(bool on) { m_session.SetPlaying(on); }
    bool IsPlaying() const { return m_session.IsPlaying(); }
    int ShowNextFrame() { return m_session.ShowNextFrame(); }
    int ShownMs() const { return m_session.ShownMs(); }
    bool HoldsSet() const { return m_session.HoldsSet(); }
    bool IsClean() const { return m_session.IsClean(); }
    std::string SaveChangesQuestion() const { return std::string(m_session.SaveChangesQuestion()); }
    void SetSaved() { m_session.SetSaved(); }

    // Opens a picture file's bytes, a drawing file, PBM or XBM at its own
    // size, or says why it cannot: the message, empty when opened.
    std::string OpenDrawing(const std::string &name, const emscripten::val &bytes);

    // The edited picture at any size: its sides, and its dots a byte each (1
    // for set) by index, viewed in the core's memory. The view lasts only
    // until the next change, so the page copies it as it is told of one.
    int Width() const { return m_session.Doc().Edited().dots.Size().width; }
    int Height() const { return m_session.Doc().Edited().dots.Size().height; }
    emscripten::val DotView() const { return ByteView(m_session.Doc().Edited().dots); }
    // The previous picture's dots as DotView gives them, or null when none are shown.
    emscripten::val OnionView();

    // The pencil's drag at any size: the gesture's dots painted in the session's picture, not a copy of 256.
    void StrokeTo(GridGesture &gesture, int dot, double x, double y);

    // The tools, cells given as column and row.
    Tool CurrentTool() const { return m_session.CurrentTool(); }
    void DragShape(int fromX, int fromY, int toX, int toY, bool constrained)
    {
        m_session.DragShape({fromX, fromY}, {toX, toY}, constrained);
    }
    void Fill(int x, int y) { m_session.Fill({x, y}); }
    void SelectCells(int ax, int ay, int bx, int by) { m_session.SelectCells({ax, ay}, {bx, by}); }
    void SelectNone() { m_session.SelectNone(); }
    // {left, top, width, height} in cells, or null when nothing is selected.
    emscripten::val Selection() const;
    void DragSelection(int dx, int dy) { m_session.DragSelection(dx, dy); }

    void Paint(const emscripten::val &dots, bool set);
    void EndStroke() { m_session.EndStroke(); }

    bool Perform(CommandId id) { return m_session.Perform(id); }
    bool IsEnabled(CommandId id, bool somethingToPaste) const { return m_session.IsEnabled(id, somethingToPaste); }
    bool IsChecked(CommandId id) const { return m_session.IsChecked(id); }

    // What "Copy as C Array" copies, and the name of its form, which the page
    // remembers and gives back at the next visit; a name of no form is not taken.
    std::string ArrayText() const { return m_session.ArrayText(); }
    std::string CopiedText() const { return m_session.CopiedText(); }
    // What Copy and Cut of a selection copy: its dots as one array, '' without a selection.
    std::string SelectionArrayText() const { return m_session.SelectionArrayText(); }
    std::string ArrayForm() const { return std::string(CodeFormatName(m_session.ArrayForm())); }
    void SetArrayForm(const std::string &name);

    void MarkSaved() { m_session.PictureSaved(); }

    // The work as the browser's storage keeps it, and the session made that
    // work again: the message when the text is damaged, "" when restored.
    std::string KeptText() const { return WriteKeptText(m_session.Doc(), m_session.SavedDoc()); }
    // The same in parts, for storage to write only what changed: {document,
    // saved: [[index, text]] changed since the last call, documentParts,
    // savedParts}, the saved set's parts 0 while it is the document's. Joined,
    // the parts, and the saved set's after a line break, are KeptText.
    emscripten::val KeptParts();
    // After storage refused a part, the next call gives every part again.
    void ForgetKeptParts();
    std::string Restore(const std::string &text);

    // The link to the document from the page at `pageAddress`: {address, note,
    // tooLong}, tooLong the sentence saying to send the file instead where the
    // link is longer than mail and chat pass on, else "".
    emscripten::val ShareLinkTo(const std::string &pageAddress) const;
    // Shows the document of an address's fragment as one step: the message, "" when shown.
    std::string OpenLink(const std::string &fragment);

    std::string Run() { return m_session.Run(); }
    void ForgetCode() { m_session.ForgetCode(); }
    bool CodeIsStale() const { return m_session.CodeIsStale(); }
    // What Ctrl+C copies, {text, note}: the text empty where nothing is to be copied.
    emscripten::val CopyByKey(const std::string &shown);

    // The picture's size, {width, height}; and the work made another size:
    // a new clear picture, or the set cropped, extended or scaled as one
    // step, "" when done or the sentence saying why not. The page's boxes
    // take only the sizes a picture may have.
    emscripten::val Size() const { return SizeValue(m_session.Doc().Size()); }
    emscripten::val PictureSizeAt(std::size_t index) const { return SizeValue(PictureAt(index).dots.Size()); }
    void NewPictureOfSize(int width, int height) { m_session.NewPicture({width, height}); }
    std::string Resize(int width, int height, const std::string &anchor);
    std::string Enlarge(int factor) { return m_session.Enlarge(factor); }
    std::string Reduce(int factor) { return m_session.Reduce(factor); }

    // The picture as the chosen display shows it, read back from the bytes of
    // the array form: {shown, display, colours, width, height, pixels, note,
    // advice, switchCaption} (advice "" where the form is the display's own),
    // the pixels RGBA a dot each, or null where they are those of the last
    // call, the display an index into displays(), the colours into
    // panelColours(). `sample`: for a font's set, the line of text the
    // display shows in it ("" for the picture).
    emscripten::val Preview(const std::string &sample);
    void UseDisplaysForm() { m_session.UseDisplaysForm(); }
    void SetPreviewDisplay(std::size_t index) { m_session.SetPreviewDisplay(index); }
    void SetPreviewColours(std::size_t index);

    // The bytes Save writes for the picture under `name`: {bytes, problem}.
    emscripten::val PictureFile(const std::string &name) const;

private:
    static emscripten::val SizeValue(tessaldo::PictureSize size);

    const Picture &PictureAt(std::size_t index) const { return m_session.Doc().pictures.at(index); }

    static emscripten::val ByteView(const tessaldo::Dots &dots);

    // What the last preview showed: a change of the tool or the selection announces
    // a change, and an 800 x 480 preview must not be drawn again for it.
    struct Previewed {
        tessaldo::Dots dots;
        LcdType type;
        CodeFormat form;
        std::size_t display;
        PanelColours colours;
        std::string sample;
        friend bool operator==(const Previewed &, const Previewed &) = default;
    };

    EditSession m_session;
    std::optional<Previewed> m_previewed;
    std::optional<tessaldo::Dots> m_onion; // what OnionView last viewed
    PartWriter m_documentParts;
    PartWriter m_savedParts;
};

} // namespace tessaldo::page
