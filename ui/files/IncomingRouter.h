#pragma once

#include "core/model/DotGrid.h"
#include "core/session/EditSession.h"
#include "core/session/Incoming.h"
#include "image/PictureImage.h"
#include "ui/files/Clipboard.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QDragEnterEvent;
class QDropEvent;
class QImage;
class QWidget;

// What a paste or a drop brings, as the core routes it: code that reads as
// pictures is taken here, and images and files are passed on to the window.
class IncomingRouter final : public QObject {
    Q_OBJECT

public:
    // `grid` is the picture as the window draws it: values for another display are read in its type.
    IncomingRouter(tessaldo::EditSession &session, Clipboard &clipboard, const tessaldo::DotGrid &grid,
                   QWidget *window);

    // An image on the clipboard, an image or drawing file named there, or code that reads as a picture.
    void Paste();
    // Whether the clipboard holds anything Paste takes.
    bool ClipboardTakes() const;
    void DragEnter(QDragEnterEvent *event) const;
    void Drop(QDropEvent *event);

signals:
    void ImageCame(const tessaldo::GreyImage &image);
    // A drawing file, or a PBM or an XBM by its first bytes: opened as Open opens it.
    void DrawingFileCame(const QString &path);
    void ImageFileCame(const QString &path);
    // Anything else, a folder of drawings included, or several files: opened as a set.
    void SetPathsCame(const QStringList &paths);

private:
    void TakeIncoming(const tessaldo::Routed &routed, const QImage &image, const QString &file);

    tessaldo::EditSession &m_session;
    Clipboard &m_clipboard;
    const tessaldo::DotGrid &m_grid;
    QWidget *m_window;
};
