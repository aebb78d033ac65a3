#pragma once

#include "core/code/CodeFormats.h"
#include "core/model/Shapes.h"
#include "core/model/Transform.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace tessaldo {

// The commands of the grid's menu, in its order, and those of the window's tool
// bar, which stand in its menu bar alone.
enum class CommandId {
    New,
    Open,
    Save,
    SaveAs,
    Undo,
    Redo,
    NewPicture,
    PictureSize,
    Invert,
    ShiftUp,
    ShiftDown,
    ShiftLeft,
    ShiftRight,
    FlipHorizontally,
    FlipVertically,
    RotateClockwise,
    RotateCounterclockwise,
    PencilTool,
    LineTool,
    RectangleTool,
    EllipseTool,
    FillTool,
    SelectTool,
    FilledShapes,
    ClearDots,
    SelectAll,
    SelectNone,
    CutSelection,
    CopySelection,
    DeleteSelection,
    ImportImage,
    InsertText,
    Paste,
    Run,
    CopyAsCArray,
    ModuleArrayForm,
    XbmArrayForm,
    GfxArrayForm,
    PagesArrayForm,
    TilesArrayForm,
    CopyLink,
    SendToModule,
    ZoomIn,
    ZoomOut,
    ZoomToFit,
    DisplayPreview,
    PreviousPicture,
    NextPicture,
    AddPicture,
    CopyPicture,
    DeletePicture,
    MoveEarlier,
    MoveLater,
    RenamePicture,
    PictureDelay,
    OnionSkin,
    SaveAsAnimation,
    Play,
    PlayOnModule,
    OpenSet,
    SaveSet,
    SaveSetAs,
    SaveSetAsFolder,
    BaselineUp,
    BaselineDown,
    AdvanceNarrower,
    AdvanceWider,
    AddGlyph,
    GlyphsFromText,
    SaveFontAs,
    About,
    Exit,
};

// The window's menu bar, in its order; each command stands in one of them as
// well as in the grid's menu.
enum class TopMenu { File, Edit, View, Picture, Tools, Help };
inline constexpr std::array kTopMenus{TopMenu::File,    TopMenu::Edit,  TopMenu::View,
                                      TopMenu::Picture, TopMenu::Tools, TopMenu::Help};
// "File", "Edit", "View", "Picture", "Tools", "Help"
std::string_view TopMenuCaption(TopMenu menu);

// The platform's own key of a command, which the window takes from Qt's
// QKeySequence::StandardKey of the same name, beside `keys`: Ctrl+N on Linux
// and Windows is Cmd+N on a Mac. The page keeps to `keys`, as a browser keeps
// some of these for itself.
enum class StandardKey { None, New, Open, Save, SaveAs, Undo, Redo, ZoomIn, ZoomOut, SelectAll, Paste, Delete, Quit };
// The key most desktops give `key` ("Ctrl+Shift+S" for SaveAs), for a platform
// that names none: Qt's plain X11 and Windows have no Save As or Quit of their own.
std::string_view UsualKey(StandardKey key);

// The faces of the program that show the commands in their menus.
enum class Face { Window, Page };
// Which of them offer a command, and where. The tool bar's commands (New, Open,
// Save, Run, About, Exit) stand in the window's menu bar beside its buttons, but not in the
// grid's menu, which is for drawing; the page has buttons of its own for them.
enum class Faces { Every, PageOnly, WindowMenuBarOnly };

struct EditorCommand {
    CommandId id;
    std::string_view caption;
    // Portable key texts ("Ctrl+Shift+Z", "Shift+Up"), the one the menu shows first; empty where there is none.
    std::array<std::string_view, 2> keys;
    // The key answers only while the grid has the focus; elsewhere it is another control's.
    bool gridOnly;
    // The menu draws a line above this command.
    bool startsGroup;
    // What the command does to the picture, for the transforms.
    std::optional<Transform> transform;
    // The menu shows a check mark that says whether it is on.
    bool checkable;
    // The submenu the command stands in, at the place of its first command; empty for the menu itself.
    std::string_view submenu;
    // Only the page has an address to share, say.
    Faces faces = Faces::Every;
    // The form "Copy as C Array" copies in once this command is chosen.
    std::optional<CodeFormat> arrayForm = std::nullopt;
    // The tool this command chooses, checked while it is the one.
    std::optional<Tool> tool = std::nullopt;
    // The menu bar's menu the command stands in, and its platform key.
    TopMenu menu = TopMenu::Edit;
    StandardKey standardKey = StandardKey::None;

    bool OfferedBy(Face face) const
    {
        return faces == Faces::Every || (faces == Faces::PageOnly) == (face == Face::Page);
    }
    bool InGridMenu() const { return faces != Faces::WindowMenuBarOnly; }
};

// Every command once: the window and the page build their menus and keys from it.
std::span<const EditorCommand> EditorCommands();
// The table's entry for `id`.
const EditorCommand &CommandWithId(CommandId id);
// The name a script calls the command by, its enumerator's: the page's CommandId.
std::string_view CommandName(CommandId id);
// Whether the face carries the command out itself, with its own dialogs, files,
// clipboard or serial port, rather than handing it to `EditSession::Perform`.
bool IsCarriedOutByFace(CommandId id);

} // namespace tessaldo
