#pragma once

#include <QIcon>

// The six toolbar pictures, drawn by this program.
namespace ToolbarIcons {
QIcon BlankSheet();
QIcon SheetWithArrow();
QIcon OpenBox();
QIcon ArrowRight();
QIcon GlowingMonitor();
QIcon QuestionCard();
} // namespace ToolbarIcons
