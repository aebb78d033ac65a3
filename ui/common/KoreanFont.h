#pragma once

#include <QFont>

// Gulim, as the window was designed with, where Windows has it; elsewhere a
// Hangul font of the same kind, so Korean text never shows as empty boxes.
QFont KoreanFont(qreal points, bool bold = false);
