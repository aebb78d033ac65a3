#pragma once

#include "core/session/EditSession.h"
#include "ui/dialogs/CommonDialog.h"
#include "ui/dialogs/SaveChangesQuestion.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class ImageImport;
class QWidget;

// Open Set, Save Set and Save Set as Folder: the set's header, or the source it
// came from, and what the header held, so that Save Set writes over nothing
// written since by someone else, and only while the session still holds that
// file's set. Each dialog is asked apart from the work, which is given the path.
class SetWorkflow final : public QObject {
    Q_OBJECT

public:
    // `nothingUnsavedIsLost` asks to save the work first, as closing does, before an opened set takes its place.
    SetWorkflow(tessaldo::EditSession &session, CommonDialog &dlgBox, SaveChangesQuestion &saveChanges,
                const ImageImport &import, std::function<bool()> nothingUnsavedIsLost, QWidget *window);

    void OpenSet();
    // The set's own header, or a name asked for the first time or when the header may not be written over.
    bool SaveSet();
    // Asks for a name until the set is saved or the user cancels.
    bool SaveSetAs();
    void SaveSetAsFolder();

    // The work of "Open Set…" without the dialog: a header or any C source, an
    // image (an animation's frames with their delays), drawing files, or a folder of them.
    void OpenSetPaths(const QStringList &paths);
    // Open Set's filter: every header and source the core reads as a set, GIF animations and drawing files.
    static QString OpenSetFilter();
    // The work of saving the set without the dialogs; false, after saying why, when it was not saved.
    bool SaveSetFile(const QString &path);
    bool SaveSetToFolder(const QString &folder);

    // The header the set is saved in, else the source it was opened from; empty before either.
    const QString &Named() const { return m_setFile.isEmpty() ? m_setSource : m_setFile; }
    // The session holds a set that is no file's: New Picture's, say.
    void Forget();

signals:
    // A set is about to replace the session's pictures.
    void SetOpening();
    // The file the set is named by, or whether it is saved, changed.
    void NameChanged();
    // The one file chosen is a font: it opens as the font's glyphs, as Open opens it.
    void FontChosen(const QString &path);

private:
    // An image's frames as a set, made as the import dialog makes dots; false after saying why not.
    bool ReadImageSet(const QString &path, tessaldo::Document &set);
    // The set opened from the file or saved to it is now the session's.
    void Name(const QString &header, const QString &source, std::string headerText);
    // An Undo past the step that opened or saved the file brings back a set that is not the file's.
    void FollowHistory();

    tessaldo::EditSession &m_session;
    CommonDialog &m_dlgBox;
    SaveChangesQuestion &m_saveChanges;
    const ImageImport &m_import;
    std::function<bool()> m_nothingUnsavedIsLost;
    QWidget *m_window;
    QString m_setFile;         // the header Save Set writes, empty before there is one
    QString m_setSource;       // the source the set was opened from when Save Set may not write it: named and offered
    std::string m_setFileText; // what it held when opened or saved: Save Set writes over nothing else
    int m_setStep = 0;         // the history's steps done when the set was opened or saved
};
