#include "ui/dialogs/SaveChangesBox.h"

#include "core/session/ProgramTexts.h"
#include "ui/common/Utf8.h"

#include <QMessageBox>

SaveChangesBox::SaveChangesBox(QWidget *owner) : m_owner(owner) {}

SaveChangesQuestion::Answer SaveChangesBox::Ask(const QString &question)
{
    // Save is the default, so Enter never throws the picture away; Escape cancels.
    switch (QMessageBox::question(m_owner, FromUtf8(tessaldo::kProgramTitle), question,
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

bool SaveChangesBox::AskToReplace(const QString &question)
{
    // No is the default, so Enter never writes over anything.
    return QMessageBox::question(m_owner, FromUtf8(tessaldo::kProgramTitle), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}
