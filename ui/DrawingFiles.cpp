#include "DrawingFiles.h"

#include "NativePath.h"
#include "Utf8.h"
#include "WindowNotices.h"
#include "core/formats/DrawingFile.h"
#include "core/session/Incoming.h"
#include "core/session/Texts.h"

#include <QCoreApplication>

using namespace tessaldo;

namespace {

const QString kFilter = QStringLiteral("All Files (*.*)|*.*|LCD File (*%1)|*%1|").arg(FromUtf8(kDrawingSuffix));
constexpr int kLcdFilterIndex = 2;
// A drawing file holds a 16 x 16 picture; one of any other size saves as a bitmap at its size.
const QString kSizedSaveFilter = QStringLiteral("%1 (*.pbm)|*.pbm|%2 (*.xbm)|*.xbm|All Files (*.*)|*.*|")
                                     .arg(FromUtf8(Text(TextId::PbmFilter)), FromUtf8(Text(TextId::XbmFilter)));

} // namespace

DrawingFiles::DrawingFiles(EditSession &session, CommonDialog &dlgBox, QWidget *window)
    : m_session(session),
      m_dlgBox(dlgBox),
      m_window(window)
{
}

void DrawingFiles::PrepareDialog(const QString &title, bool saving)
{
    const bool sized = saving && !IsModuleSize(m_session.Doc().Size());
    m_dlgBox.DialogTitle = title;
    m_dlgBox.Filter = sized ? kSizedSaveFilter : kFilter;
    m_dlgBox.FileName = QString();
    m_dlgBox.FilterIndex = sized ? 1 : kLcdFilterIndex;
}

void DrawingFiles::Open()
{
    PrepareDialog(QStringLiteral("Open Graphic LCD File"), false);
    m_dlgBox.ShowOpen();
    if (m_dlgBox.FileName.isEmpty())
        return;
    OpenFile(m_dlgBox.FileName);
    QCoreApplication::processEvents();
}

bool DrawingFiles::Save()
{
    PrepareDialog(QStringLiteral("Save Graphic LCD File"), true);
    m_dlgBox.ShowSave();
    return !m_dlgBox.FileName.isEmpty() && SaveFile(m_dlgBox.FileName);
}

void DrawingFiles::OpenFile(const QString &szFilePath)
{
    if (IsSourceFileName(szFilePath.toStdString())) {
        emit SourceChosen({szFilePath});
        return;
    }
    Drawing drawing;
    const FileStatus read = ReadPictureFile(NativePath(szFilePath), drawing, m_session.Doc().type);
    if (!read) {
        Warn(m_window, QString::fromStdString(read.message()));
        return;
    }
    m_pictureFile = szFilePath;
    m_session.Open(drawing);
}

bool DrawingFiles::SaveFile(const QString &szFilePath)
{
    const FileStatus saved = SavePicture(m_session.Grid(), NativePath(szFilePath));
    if (!saved) {
        Warn(m_window, QString::fromStdString(saved.message()));
        return false;
    }
    m_pictureFile = szFilePath;
    m_session.PictureSaved();
    emit Saved();
    return true;
}
