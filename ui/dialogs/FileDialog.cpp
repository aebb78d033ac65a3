#include "ui/dialogs/FileDialog.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

FileDialog::FileDialog(QWidget *owner) : m_owner(owner) {}

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

void FileDialog::FitNamesSizesAndDates(QFileDialog &dialog)
{
    // Qt's own dialog, where no desktop portal stands in for it, opens too
    // narrow: names, sizes and dates come out cut.
    QSize size(kWidth, kHeight);
    if (const QScreen *screen = m_owner != nullptr ? m_owner->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
    // The size, type and date as wide as they are, the name taking the rest.
    if (auto *details = dialog.findChild<QTreeView *>()) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

void FileDialog::Ask(bool save)
{
    QFileDialog dialog(m_owner, DialogTitle, initialFolder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    // A name typed without an extension takes the chosen filter's, where it
    // is to, and the dialog asks before replacing the file of that name.
    const auto follow = [this, &dialog, &filters](const QString &chosen) {
        FilterIndex = static_cast<int>(filters.indexOf(chosen)) + 1;
        dialog.setDefaultSuffix(addsExtension ? ChosenExtension().mid(1) : QString());
    };
    follow(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    FitNamesSizesAndDates(dialog);
    FileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
}
