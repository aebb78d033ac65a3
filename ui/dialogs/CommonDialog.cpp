#include "ui/dialogs/CommonDialog.h"

#include "ui/files/Preferences.h"

#include <QFileInfo>
#include <QStringList>

QString CommonDialog::ChosenExtension() const
{
    const QStringList parts = Filter.split(u'|');
    const qsizetype patterns = (static_cast<qsizetype>(FilterIndex) * 2) - 1;
    if (FilterIndex < 1 || patterns >= parts.size())
        return {};
    const QString first = parts[patterns].section(u';', 0, 0).trimmed();
    return first.startsWith(QStringLiteral("*.")) && first != u"*.*" ? first.mid(1) : QString();
}

void CommonDialog::Show(bool save)
{
    initialFolder = LastFolder();
    Ask(save);
    if (!FileName.isEmpty())
        KeepFolderOf(FileName);
}
