#include "ui/window/WindowNotices.h"

#include "core/session/ProgramTexts.h"
#include "ui/common/Utf8.h"

#include <QMessageBox>

QString WindowTitle()
{
    return FromUtf8(tessaldo::kProgramTitle);
}

void Warn(QWidget *window, const QString &message)
{
    QMessageBox::warning(window, WindowTitle(), message, QMessageBox::Ok);
}

void Tell(QWidget *window, const QString &message)
{
    QMessageBox::information(window, WindowTitle(), message, QMessageBox::Ok);
}

void SayIfAny(QWidget *window, const std::string &note)
{
    if (!note.empty())
        Tell(window, FromUtf8(note));
}
