#pragma once

#include "core/session/EditSession.h"
#include "ui/dialogs/CommonDialog.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// Open and Save of one picture as a drawing file (.Lcd), or a bitmap at any
// size (.pbm, .xbm), and the file last
// opened or saved, which the title names. Each dialog is asked apart from the
// work, which is given the path.
class DrawingFiles final : public QObject {
    Q_OBJECT

public:
    DrawingFiles(tessaldo::EditSession &session, CommonDialog &dlgBox, QWidget *window);

    void Open();
    // False when the dialog was cancelled or the file could not be written.
    bool Save();
    // The work of Open and Save without the dialog; failures are shown to the user.
    void OpenFile(const QString &szFilePath);
    bool SaveFile(const QString &szFilePath);

    // The drawing file last opened or saved, empty before there is one or once the picture is no file's.
    const QString &Named() const { return m_pictureFile; }
    void Forget() { m_pictureFile.clear(); }

signals:
    // The picture was saved under Named().
    void Saved();
    // A header or C source was chosen, which opens as a set.
    void SourceChosen(const QStringList &paths);
    // A font was chosen, which opens as the set of its glyphs.
    void FontChosen(const QString &path);

private:
    // Readies the dialog the way Open and Save need it: a picture not 16 x 16 saves as a bitmap.
    void PrepareDialog(const QString &title, bool saving);

    tessaldo::EditSession &m_session;
    CommonDialog &m_dlgBox;
    QWidget *m_window;
    QString m_pictureFile;
};
