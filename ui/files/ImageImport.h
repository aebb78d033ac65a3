#pragma once

#include "core/session/EditSession.h"
#include "image/PictureImage.h"
#include "ui/dialogs/CommonDialog.h"
#include "ui/set/ProgressFrameReader.h"

#include <QString>

#include <vector>

class ModuleSending;
class QWidget;

// "Import Image…": an image, or an animation's frames, previewed in the import
// dialog; OK makes the frame shown one step. The dialog's options are kept
// for the next import and for images opened as a set.
class ImageImport {
public:
    ImageImport(tessaldo::EditSession &session, CommonDialog &dlgBox, const ModuleSending &module, QWidget *window);

    // Asks for the file, then imports it.
    void OpenImage();
    // The work of "Import Image…" without the file dialog.
    void ImportImageFile(const QString &path);
    void ImportImage(const tessaldo::GreyImage &image);
    // The frames previewed in the import dialog (one for a still image); OK takes the frame shown.
    void ImportFrames(std::vector<tessaldo::FrameGreys> frames, const QString &stem);
    const ProgressFrameReader &Reader() const { return m_reader; }
    const tessaldo::DotOptions &Options() const { return m_importOptions; }

private:
    tessaldo::EditSession &m_session;
    CommonDialog &m_dlgBox;
    const ModuleSending &m_module;
    QWidget *m_window;
    ProgressFrameReader m_reader;
    tessaldo::DotOptions m_importOptions; // as the last import left them
};
