#include "ui/files/IncomingRouter.h"

#include "core/formats/BitmapFiles.h"
#include "core/formats/DrawingFile.h"
#include "core/platform/FileIo.h"
#include "ui/dialogs/LayoutChoiceDialog.h"
#include "ui/files/NativePath.h"
#include "ui/set/ProgressFrameReader.h"
#include "ui/window/WindowNotices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTimer>

using namespace tessaldo;

namespace {

QStringList LocalFilesIn(const QMimeData *data)
{
    QStringList files;
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl &url : data->urls()) {
            if (url.isLocalFile())
                files << url.toLocalFile();
        }
    }
    return files;
}

QString LocalFileIn(const QMimeData *data)
{
    const QStringList files = LocalFilesIn(data);
    return files.isEmpty() ? QString() : files.front();
}

// What the core is given: a drop brings only images and files, a paste text as well.
Incoming IncomingOf(const QMimeData *data, bool withText)
{
    if (data == nullptr)
        return {};
    Incoming incoming{data->hasImage(), LocalFileIn(data).toStdString(), std::nullopt};
    if (withText && data->hasText())
        incoming.text = data->text().toStdString();
    return incoming;
}

Routed RouteMimeData(const QMimeData *data, bool withText)
{
    return RouteIncoming(IncomingOf(data, withText));
}

bool HoldsImageOrFile(const QMimeData *data)
{
    return RouteMimeData(data, false).kind != IncomingKind::Nothing;
}

// A PBM or an XBM by its first bytes, whatever its name: a picture at its own size, as Open reads it.
bool IsBitmapFileAt(const QString &file)
{
    std::string start;
    return ReadFileStart(NativePath(file), kPictureKindBytes, start) && IsBitmapFile(start);
}

QImage ImageIn(const QMimeData *data)
{
    return data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

} // namespace

IncomingRouter::IncomingRouter(EditSession &session, Clipboard &clipboard, const DotGrid &grid, QWidget *window)
    : m_session(session),
      m_clipboard(clipboard),
      m_grid(grid),
      m_window(window)
{
}

void IncomingRouter::Paste()
{
    const QMimeData *data = m_clipboard.Contents();
    Incoming incoming = IncomingOf(data, true);
    incoming.type = m_grid.nLCDType(); // values for another display are read as the grid shows them
    Routed routed = RouteIncoming(incoming);
    if (!routed.candidates.empty()) {
        const std::optional<LayoutChoice> chosen = LayoutChoiceDialog::Ask(routed.candidates, incoming.type, m_window);
        if (!chosen)
            return;
        routed = RouteIncoming(incoming, chosen->layouts.front(), chosen->size);
    }
    TakeIncoming(routed, data != nullptr ? ImageIn(data) : QImage(), LocalFileIn(data));
}

bool IncomingRouter::ClipboardTakes() const
{
    return RouteMimeData(m_clipboard.Contents(), true).Takes();
}

void IncomingRouter::DragEnter(QDragEnterEvent *event) const
{
    if (HoldsImageOrFile(event->mimeData()))
        event->acceptProposedAction();
}

void IncomingRouter::Drop(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!HoldsImageOrFile(data))
        return;
    event->acceptProposedAction();
    // The dialog waits until the drop is over, so the program it came from is not held up.
    if (const QStringList files = LocalFilesIn(data); files.size() > 1) {
        QTimer::singleShot(0, this, [this, files] { emit SetPathsCame(files); }); // drawings for a set
        return;
    }
    QTimer::singleShot(0, this,
                       [this, routed = RouteMimeData(data, false), image = ImageIn(data), file = LocalFileIn(data)] {
                           TakeIncoming(routed, image, file);
                       });
}

void IncomingRouter::TakeIncoming(const Routed &routed, const QImage &image, const QString &file)
{
    switch (routed.kind) {
    case IncomingKind::Image:
        emit ImageCame(GreyFromImage(image));
        break;
    case IncomingKind::DrawingFile:
        emit DrawingFileCame(file);
        break;
    case IncomingKind::SourceFile:
        emit SetPathsCame({file});
        break;
    case IncomingKind::ImageFile:
        // Any other file, a folder of drawings included, is opened as a set.
        if (IsBitmapFileAt(file))
            emit DrawingFileCame(file);
        else if (ProgressFrameReader::IsImage(file))
            emit ImageFileCame(file);
        else
            emit SetPathsCame({file});
        break;
    case IncomingKind::Code:
    case IncomingKind::Nothing:
        if (!routed.Takes())
            Warn(m_window, QString::fromStdString(CannotPaste(routed)));
        else if (const std::optional<CellRect> selected = m_session.Selection())
            // A selection takes the paste where it stands, to be dragged on from there.
            SayIfAny(m_window, m_session.PasteAt(routed.pictures.empty() ? *routed.dots : routed.pictures.front().dots,
                                                 selected->topLeft));
        else if (!routed.pictures.empty())
            SayIfAny(m_window, m_session.TakePictures("Paste", routed.pictures));
        else
            m_session.TakeDots("Paste", *routed.dots);
        break;
    }
}
