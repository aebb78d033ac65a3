#pragma once

#include <QString>

#include <string>

class QWidget;

// The boxes every part of the window speaks through, titled with the program's name.
QString WindowTitle();
void Warn(QWidget *window, const QString &message);
void Tell(QWidget *window, const QString &message);
// A note of the core's, where there is one.
void SayIfAny(QWidget *window, const std::string &note);
