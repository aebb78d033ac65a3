#pragma once

#include <QIcon>

// The six toolbar pictures and the program's own icon, drawn by this program:
// nothing is decoded from a file at start.
namespace ToolbarIcons {
QIcon BlankSheet();
QIcon SheetWithArrow();
QIcon OpenBox();
QIcon ArrowRight();
QIcon GlowingMonitor();
QIcon QuestionCard();
// A green-lit LCD module showing a smiley, as data/tessaldo.svg draws it.
QIcon Application();
} // namespace ToolbarIcons
