#include "ui/files/ImageImport.h"
#include "ui/common/Utf8.h"

#include "core/session/Texts.h"

#include "ui/dialogs/ImportImageDialog.h"
#include "ui/window/ModuleSending.h"
#include "ui/window/WindowNotices.h"

#include <QFileInfo>
#include <QImageReader>

using namespace tessaldo;

namespace {

// Every format the installed image plugins read, then everything.
QString ImageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString images = patterns.join(u';');
    return QStringLiteral("Images (%1)|%1|All Files (*.*)|*.*|").arg(images);
}

} // namespace

ImageImport::ImageImport(EditSession &session, CommonDialog &dlgBox, const ModuleSending &module, QWidget *window)
    : m_session(session),
      m_dlgBox(dlgBox),
      m_module(module),
      m_window(window),
      m_reader(window)
{
}

void ImageImport::OpenImage()
{
    m_dlgBox.DialogTitle = QStringLiteral("Open Image");
    m_dlgBox.Filter = ImageFilter();
    m_dlgBox.FileName = QString();
    m_dlgBox.FilterIndex = 1;
    m_dlgBox.ShowOpen();
    if (!m_dlgBox.FileName.isEmpty())
        ImportImageFile(m_dlgBox.FileName);
}

void ImageImport::ImportImageFile(const QString &path)
{
    std::vector<FrameGreys> frames;
    std::string problem;
    if (!m_reader.Read(path, frames, problem, m_session.Doc().Size())) {
        if (!problem.empty())
            Warn(m_window, FromUtf8(FilledText(TextId::CannotImport, {path.toStdString(), problem})));
        return;
    }
    ImportFrames(std::move(frames), QFileInfo(path).completeBaseName());
}

void ImageImport::ImportImage(const GreyImage &image)
{
    ImportFrames({FrameFromGreys(image, 0, m_session.Doc().Size())}, QStringLiteral("frame"));
}

void ImageImport::ImportFrames(std::vector<FrameGreys> frames, const QString &stem)
{
    m_session.EndStroke();
    ImportImageDialog dialog(std::move(frames), stem, m_session.Grid().nLCDType(), m_importOptions, m_window);
    dialog.SetModulePort(m_module.Port(), m_module.Baud());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_importOptions = dialog.Options();
    m_session.TakeDots("Import", dialog.Picture().AllDots());
}
