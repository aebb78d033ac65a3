#include "FileDialog.h"

#include <QFileDialog>

FileDialog::FileDialog(QWidget *owner) : m_owner(owner) {}

void FileDialog::ShowOpen()
{
    Show(false);
}

void FileDialog::ShowSave()
{
    Show(true);
}

QStringList FileDialog::NameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (const qsizetype bracket = description.lastIndexOf(u'('); bracket > 0)
            description = description.left(bracket).trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed() == u"*.*" ? QStringLiteral("*") : pattern.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return filters;
}

void FileDialog::Show(bool save)
{
    QFileDialog dialog(m_owner, DialogTitle);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    // The name goes to the file exactly as typed: no extension is added.
    dialog.setDefaultSuffix(QString());
    FileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
}
