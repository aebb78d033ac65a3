#pragma once

#include "core/session/EditSession.h"
#include "ui/dialogs/PictureSizeDialog.h"

#include <QObject>

#include <functional>

class CommandMenu;
class QWidget;

// "New Picture…" and "Picture Size…": each asks its dialog, apart from the
// work, which is given what the user chose.
class PictureSizing final : public QObject {
    Q_OBJECT

public:
    // `nothingUnsavedIsLost` asks to save the work first, as closing does.
    PictureSizing(tessaldo::EditSession &session, std::function<bool()> nothingUnsavedIsLost, QWidget *window);

    // The menu's "New Picture…" and "Picture Size…" ask here.
    void Answer(const CommandMenu &menu);
    void AskNewPicture();
    void AskPictureSize();

    // One clear picture of `size` in place of the set, once nothing unsaved is
    // lost; false when the user kept the work.
    bool NewPicture(tessaldo::PictureSize size);
    // The whole set made another size as one step; a refusal is shown to the user.
    bool ChangeSize(const SizeChange &change);

signals:
    // The picture is no file's any more.
    void PictureStarted();

private:
    tessaldo::EditSession &m_session;
    std::function<bool()> m_nothingUnsavedIsLost;
    QWidget *m_window;
};
