#include "core/session/EditorCommands.h"

#include <algorithm>
#include <array>

namespace tessaldo {

namespace {

constexpr std::string_view kSet = "Set";
constexpr std::string_view kArrayForm = "C Array Form";
constexpr std::string_view kTools = "Tools";
constexpr std::string_view kSelection = "Selection";
constexpr std::string_view kView = "View";
constexpr std::string_view kFont = "Font";

// One of the forms "Copy as C Array" copies in, checked while it is the one.
constexpr EditorCommand ArrayForm(CommandId id, CodeFormat form)
{
    return {id, ArrayFormCaption(form), {}, false, false, std::nullopt, true, kArrayForm, Faces::Every, form};
}

// One of the canvas's tools, checked while it is the one. A letter alone
// chooses it, as in the paint programs people know; the grid has no other use for letters.
constexpr EditorCommand ToolCommand(CommandId id, std::string_view caption, std::string_view key, Tool tool,
                                    bool startsGroup = false)
{
    return {id, caption, {key}, true, startsGroup, std::nullopt, true, kTools, Faces::Every, std::nullopt, tool};
}

// Undo and redo answer anywhere but where a text box claims those keys; the
// transforms and Paste only in the grid, where arrows and Ctrl+V mean nothing else,
// and so the keys that walk and change the set, which a text box has uses for.
// No key a browser keeps for itself (Ctrl+N, Ctrl+T, Ctrl+W, Ctrl+PgUp) is used.
// One of the tool bar's commands, in the menu bar alone.
constexpr EditorCommand MenuBarCommand(CommandId id, std::string_view caption, bool startsGroup = false)
{
    return {id, caption, {}, false, startsGroup, std::nullopt, false, {}, Faces::WindowMenuBarOnly};
}

constexpr std::array kGridCommands{
    MenuBarCommand(CommandId::New, "New"),
    MenuBarCommand(CommandId::Open, "Open…"),
    MenuBarCommand(CommandId::Save, "Save"),
    MenuBarCommand(CommandId::SaveAs, "Save As…"),
    EditorCommand{CommandId::Undo, "Undo", {"Ctrl+Z"}, false, false, std::nullopt, false, {}},
    EditorCommand{CommandId::Redo, "Redo", {"Ctrl+Shift+Z", "Ctrl+Y"}, false, false, std::nullopt, false, {}},
    EditorCommand{CommandId::NewPicture, "New Picture…", {}, false, true, std::nullopt, false, {}},
    EditorCommand{CommandId::PictureSize, "Picture Size…", {}, false, false, std::nullopt, false, {}},
    EditorCommand{CommandId::Invert, "Invert", {"Ctrl+I"}, true, true, Transform::Invert, false, {}},
    EditorCommand{CommandId::ShiftUp, "Shift Up", {"Shift+Up"}, true, false, Transform::ShiftUp, false, {}},
    EditorCommand{CommandId::ShiftDown, "Shift Down", {"Shift+Down"}, true, false, Transform::ShiftDown, false, {}},
    EditorCommand{CommandId::ShiftLeft, "Shift Left", {"Shift+Left"}, true, false, Transform::ShiftLeft, false, {}},
    EditorCommand{CommandId::ShiftRight, "Shift Right", {"Shift+Right"}, true, false, Transform::ShiftRight, false, {}},
    EditorCommand{
        CommandId::FlipHorizontally, "Flip Horizontally", {}, true, false, Transform::FlipHorizontally, false, {}},
    EditorCommand{CommandId::FlipVertically, "Flip Vertically", {}, true, false, Transform::FlipVertically, false, {}},
    EditorCommand{
        CommandId::RotateClockwise, "Rotate Clockwise", {}, true, false, Transform::RotateClockwise, false, {}},
    EditorCommand{CommandId::RotateCounterclockwise,
                  "Rotate Counterclockwise",
                  {},
                  true,
                  false,
                  Transform::RotateCounterclockwise,
                  false,
                  {}},
    ToolCommand(CommandId::PencilTool, "Pencil", "P", Tool::Pencil, true),
    ToolCommand(CommandId::LineTool, "Line", "L", Tool::Line),
    ToolCommand(CommandId::RectangleTool, "Rectangle", "R", Tool::Rectangle),
    ToolCommand(CommandId::EllipseTool, "Ellipse", "E", Tool::Ellipse),
    ToolCommand(CommandId::FillTool, "Fill", "F", Tool::Fill),
    ToolCommand(CommandId::SelectTool, "Select", "S", Tool::Select),
    EditorCommand{CommandId::FilledShapes, "Filled Shapes", {"Shift+F"}, true, true, std::nullopt, true, kTools},
    // X swaps the colour the shapes and the fill draw with, as in pixel editors.
    EditorCommand{CommandId::ClearDots, "Draw Clear Dots", {"X"}, true, false, std::nullopt, true, kTools},
    // Ctrl+C and Ctrl+X copy the code wherever the focus is; the selection takes the other keys people know.
    EditorCommand{CommandId::SelectAll, "Select All", {"Ctrl+A"}, true, false, std::nullopt, false, kSelection},
    EditorCommand{
        CommandId::SelectNone, "Select None", {"Ctrl+Shift+A", "Esc"}, true, false, std::nullopt, false, kSelection},
    EditorCommand{CommandId::CutSelection, "Cut", {"Shift+Del"}, true, true, std::nullopt, false, kSelection},
    EditorCommand{CommandId::CopySelection, "Copy", {"Ctrl+Ins"}, true, false, std::nullopt, false, kSelection},
    EditorCommand{CommandId::DeleteSelection, "Delete", {"Del"}, true, false, std::nullopt, false, kSelection},
    EditorCommand{CommandId::ImportImage, "Import Image…", {}, false, true, std::nullopt, false, {}},
    EditorCommand{CommandId::InsertText, "Insert Text…", {}, false, false, std::nullopt, false, {}},
    EditorCommand{CommandId::Paste, "Paste", {"Ctrl+V"}, true, false, std::nullopt, false, {}},
    MenuBarCommand(CommandId::Run, "Run", true),
    EditorCommand{CommandId::CopyAsCArray, "Copy as C Array", {}, false, true, std::nullopt, false, {}},
    ArrayForm(CommandId::ModuleArrayForm, CodeFormat::C),
    ArrayForm(CommandId::XbmArrayForm, CodeFormat::Xbm),
    ArrayForm(CommandId::GfxArrayForm, CodeFormat::Gfx),
    ArrayForm(CommandId::PagesArrayForm, CodeFormat::Pages),
    ArrayForm(CommandId::TilesArrayForm, CodeFormat::Tiles),
    EditorCommand{CommandId::CopyLink, "Copy Link", {}, false, false, std::nullopt, false, {}, Faces::PageOnly},
    EditorCommand{CommandId::SendToModule, "Send to Module…", {}, false, false, std::nullopt, false, {}},
    EditorCommand{CommandId::ZoomIn, "Zoom In", {"Ctrl++", "Ctrl+="}, true, true, std::nullopt, false, kView},
    EditorCommand{CommandId::ZoomOut, "Zoom Out", {"Ctrl+-"}, true, false, std::nullopt, false, kView},
    EditorCommand{CommandId::ZoomToFit, "Zoom to Fit", {"Ctrl+0"}, true, false, std::nullopt, false, kView},
    EditorCommand{CommandId::DisplayPreview, "Display Preview", {}, false, true, std::nullopt, true, kView},
    EditorCommand{CommandId::PreviousPicture, "Previous Picture", {"PgUp"}, true, true, std::nullopt, false, kSet},
    EditorCommand{CommandId::NextPicture, "Next Picture", {"PgDown"}, true, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::AddPicture, "Add Picture", {"Ins"}, true, true, std::nullopt, false, kSet},
    EditorCommand{CommandId::CopyPicture, "Copy Picture", {"Ctrl+Shift+D"}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::DeletePicture, "Delete Picture", {"Ctrl+Del"}, true, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::MoveEarlier, "Move Earlier", {"Shift+PgUp"}, true, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::MoveLater, "Move Later", {"Shift+PgDown"}, true, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::RenamePicture, "Rename Picture…", {"F2"}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::PictureDelay, "Picture Delay…", {}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::OnionSkin, "Onion Skin", {}, false, true, std::nullopt, true, kSet},
    EditorCommand{CommandId::SaveAsAnimation, "Save as Animation", {}, false, false, std::nullopt, true, kSet},
    EditorCommand{CommandId::Play, "Play", {}, false, false, std::nullopt, true, kSet},
    EditorCommand{CommandId::PlayOnModule, "Play on Module…", {}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::OpenSet, "Open Set…", {"Ctrl+Shift+O"}, false, true, std::nullopt, false, kSet},
    EditorCommand{CommandId::SaveSet, "Save Set", {"Ctrl+Shift+S"}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::SaveSetAs, "Save Set As…", {}, false, false, std::nullopt, false, kSet},
    EditorCommand{CommandId::SaveSetAsFolder, "Save Set as Folder…", {}, false, false, std::nullopt, false, kSet},
    // A font's glyph: where it sits on the baseline, how far the pen moves on, and which the font holds.
    EditorCommand{CommandId::BaselineUp, "Baseline Up", {}, false, true, std::nullopt, false, kFont},
    EditorCommand{CommandId::BaselineDown, "Baseline Down", {}, false, false, std::nullopt, false, kFont},
    EditorCommand{CommandId::AdvanceNarrower, "Advance Narrower", {}, false, false, std::nullopt, false, kFont},
    EditorCommand{CommandId::AdvanceWider, "Advance Wider", {}, false, false, std::nullopt, false, kFont},
    EditorCommand{CommandId::AddGlyph, "Add Glyph…", {}, false, true, std::nullopt, false, kFont},
    EditorCommand{CommandId::GlyphsFromText, "Glyphs from Text…", {}, false, false, std::nullopt, false, kFont},
    EditorCommand{CommandId::SaveFontAs, "Save Font As…", {}, false, true, std::nullopt, false, kFont},
    MenuBarCommand(CommandId::About, "About…"),
    MenuBarCommand(CommandId::Exit, "Exit", true),
};

// The menu bar's menu of a command: what makes or keeps files in File, what
// changes the picture or the set in Picture, the tools in Tools, the zoom and
// the preview in View, About in Help, the rest (Run among them) in Edit.
constexpr TopMenu MenuOf(const EditorCommand &command)
{
    switch (command.id) {
    case CommandId::New:
    case CommandId::Open:
    case CommandId::Save:
    case CommandId::SaveAs:
    case CommandId::Exit:
    case CommandId::NewPicture:
    case CommandId::ImportImage:
    case CommandId::SendToModule:
    case CommandId::OpenSet:
    case CommandId::SaveSet:
    case CommandId::SaveSetAs:
    case CommandId::SaveSetAsFolder:
    case CommandId::SaveFontAs:
        return TopMenu::File;
    case CommandId::PictureSize:
    case CommandId::InsertText:
        return TopMenu::Picture;
    case CommandId::About:
        return TopMenu::Help;
    default:
        break;
    }
    if (command.submenu == kTools)
        return TopMenu::Tools;
    if (command.submenu == kView)
        return TopMenu::View;
    if (command.transform || command.submenu == kSet || command.submenu == kFont)
        return TopMenu::Picture;
    return TopMenu::Edit;
}

constexpr StandardKey StandardKeyOf(CommandId id)
{
    switch (id) {
    case CommandId::NewPicture:
        return StandardKey::New;
    case CommandId::Open:
        return StandardKey::Open;
    case CommandId::Save:
        return StandardKey::Save;
    case CommandId::SaveAs:
        return StandardKey::SaveAs;
    case CommandId::Exit:
        return StandardKey::Quit;
    case CommandId::Undo:
        return StandardKey::Undo;
    case CommandId::Redo:
        return StandardKey::Redo;
    case CommandId::ZoomIn:
        return StandardKey::ZoomIn;
    case CommandId::ZoomOut:
        return StandardKey::ZoomOut;
    case CommandId::SelectAll:
        return StandardKey::SelectAll;
    case CommandId::Paste:
        return StandardKey::Paste;
    case CommandId::DeleteSelection:
        return StandardKey::Delete;
    default:
        return StandardKey::None;
    }
}

constexpr std::array kCommands = [] {
    std::array commands = kGridCommands;
    for (EditorCommand &command : commands) {
        command.menu = MenuOf(command);
        command.standardKey = StandardKeyOf(command.id);
    }
    return commands;
}();

// In the enumeration's order, from None.
constexpr std::array<std::string_view, 13> kUsualKeys{"",       "Ctrl+N",       "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S",
                                                      "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl++", "Ctrl+-", "Ctrl+A",
                                                      "Ctrl+V", "Del",          "Ctrl+Q"};

constexpr std::array<std::string_view, kTopMenus.size()> kTopMenuCaptions{"File",    "Edit",  "View",
                                                                          "Picture", "Tools", "Help"};

// In the enumeration's order, one for each command of the table.
constexpr std::array<std::string_view, kCommands.size()> kCommandNames{
    "New",
    "Open",
    "Save",
    "SaveAs",
    "Undo",
    "Redo",
    "NewPicture",
    "PictureSize",
    "Invert",
    "ShiftUp",
    "ShiftDown",
    "ShiftLeft",
    "ShiftRight",
    "FlipHorizontally",
    "FlipVertically",
    "RotateClockwise",
    "RotateCounterclockwise",
    "PencilTool",
    "LineTool",
    "RectangleTool",
    "EllipseTool",
    "FillTool",
    "SelectTool",
    "FilledShapes",
    "ClearDots",
    "SelectAll",
    "SelectNone",
    "CutSelection",
    "CopySelection",
    "DeleteSelection",
    "ImportImage",
    "InsertText",
    "Paste",
    "Run",
    "CopyAsCArray",
    "ModuleArrayForm",
    "XbmArrayForm",
    "GfxArrayForm",
    "PagesArrayForm",
    "TilesArrayForm",
    "CopyLink",
    "SendToModule",
    "ZoomIn",
    "ZoomOut",
    "ZoomToFit",
    "DisplayPreview",
    "PreviousPicture",
    "NextPicture",
    "AddPicture",
    "CopyPicture",
    "DeletePicture",
    "MoveEarlier",
    "MoveLater",
    "RenamePicture",
    "PictureDelay",
    "OnionSkin",
    "SaveAsAnimation",
    "Play",
    "PlayOnModule",
    "OpenSet",
    "SaveSet",
    "SaveSetAs",
    "SaveSetAsFolder",
    "BaselineUp",
    "BaselineDown",
    "AdvanceNarrower",
    "AdvanceWider",
    "AddGlyph",
    "GlyphsFromText",
    "SaveFontAs",
    "About",
    "Exit",
};

// What asks the user, reads or writes a file, the clipboard or the module, or
// keeps time, or changes only how the face shows the picture, as its zoom:
// the session knows none of those; nor the tool bar's commands, which clear or
// fill the code box and name the window's file as well.
constexpr std::array kCarriedOutByFace{
    CommandId::New,           CommandId::Open,           CommandId::Save,          CommandId::SaveAs,
    CommandId::Run,           CommandId::About,          CommandId::Exit,          CommandId::NewPicture,
    CommandId::PictureSize,   CommandId::CutSelection,   CommandId::CopySelection, CommandId::ZoomIn,
    CommandId::ZoomOut,       CommandId::ZoomToFit,      CommandId::ImportImage,   CommandId::InsertText,
    CommandId::Paste,         CommandId::CopyAsCArray,   CommandId::CopyLink,      CommandId::SendToModule,
    CommandId::RenamePicture, CommandId::PictureDelay,   CommandId::Play,          CommandId::PlayOnModule,
    CommandId::OpenSet,       CommandId::SaveSet,        CommandId::SaveSetAs,     CommandId::SaveSetAsFolder,
    CommandId::AddGlyph,      CommandId::GlyphsFromText, CommandId::SaveFontAs,
};

} // namespace

std::string_view TopMenuCaption(TopMenu menu)
{
    return kTopMenuCaptions.at(static_cast<std::size_t>(menu));
}

std::string_view UsualKey(StandardKey key)
{
    return kUsualKeys.at(static_cast<std::size_t>(key));
}

std::span<const EditorCommand> EditorCommands()
{
    return kCommands;
}

const EditorCommand &CommandWithId(CommandId id)
{
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [id](const EditorCommand &command) { return command.id == id; });
}

std::string_view CommandName(CommandId id)
{
    return kCommandNames.at(static_cast<std::size_t>(id));
}

bool IsCarriedOutByFace(CommandId id)
{
    return std::find(kCarriedOutByFace.begin(), kCarriedOutByFace.end(), id) != kCarriedOutByFace.end();
}

} // namespace tessaldo
