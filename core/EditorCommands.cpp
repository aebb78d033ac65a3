#include "EditorCommands.h"

namespace tessaldo {

namespace {

// Undo and redo answer anywhere but where a text box claims those keys; the
// transforms and Paste only in the grid, where arrows and Ctrl+V mean nothing else.
constexpr std::array kCommands{
    EditorCommand{CommandId::Undo, "Undo", {"Ctrl+Z"}, false, false, std::nullopt},
    EditorCommand{CommandId::Redo, "Redo", {"Ctrl+Shift+Z", "Ctrl+Y"}, false, false, std::nullopt},
    EditorCommand{CommandId::Invert, "Invert", {"Ctrl+I"}, true, true, Transform::Invert},
    EditorCommand{CommandId::ShiftUp, "Shift Up", {"Shift+Up"}, true, false, Transform::ShiftUp},
    EditorCommand{CommandId::ShiftDown, "Shift Down", {"Shift+Down"}, true, false, Transform::ShiftDown},
    EditorCommand{CommandId::ShiftLeft, "Shift Left", {"Shift+Left"}, true, false, Transform::ShiftLeft},
    EditorCommand{CommandId::ShiftRight, "Shift Right", {"Shift+Right"}, true, false, Transform::ShiftRight},
    EditorCommand{CommandId::FlipHorizontally, "Flip Horizontally", {}, true, false, Transform::FlipHorizontally},
    EditorCommand{CommandId::FlipVertically, "Flip Vertically", {}, true, false, Transform::FlipVertically},
    EditorCommand{CommandId::RotateClockwise, "Rotate Clockwise", {}, true, false, Transform::RotateClockwise},
    EditorCommand{CommandId::RotateCounterclockwise,
                  "Rotate Counterclockwise",
                  {},
                  true,
                  false,
                  Transform::RotateCounterclockwise},
    EditorCommand{CommandId::ImportImage, "Import Image…", {}, false, true, std::nullopt},
    EditorCommand{CommandId::InsertText, "Insert Text…", {}, false, false, std::nullopt},
    EditorCommand{CommandId::Paste, "Paste", {"Ctrl+V"}, true, false, std::nullopt},
    EditorCommand{CommandId::CopyAsCArray, "Copy as C Array", {}, false, true, std::nullopt},
    EditorCommand{CommandId::SendToModule, "Send to Module…", {}, false, false, std::nullopt},
};

} // namespace

std::span<const EditorCommand> EditorCommands()
{
    return kCommands;
}

} // namespace tessaldo
