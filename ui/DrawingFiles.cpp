#include "DrawingFiles.h"

#include "NativePath.h"
#include "Utf8.h"
#include "WindowNotices.h"
#include "core/formats/DrawingFile.h"

#include <QCoreApplication>

using namespace tessaldo;

namespace {

const QString kFilter = QStringLiteral("All Files (*.*)|*.*|LCD File (*%1)|*%1|").arg(FromUtf8(kDrawingSuffix));
constexpr int kLcdFilterIndex = 2;

} // namespace

DrawingFiles::DrawingFiles(EditSession &session, const DotGrid &grid, CommonDialog &dlgBox, QWidget *window)
    : m_session(session),
      m_grid(grid),
      m_dlgBox(dlgBox),
      m_window(window)
{
}

void DrawingFiles::PrepareDialog(const QString &title)
{
    m_dlgBox.DialogTitle = title;
    m_dlgBox.Filter = kFilter;
    m_dlgBox.FileName = QString();
    m_dlgBox.FilterIndex = kLcdFilterIndex;
}

void DrawingFiles::Open()
{
    PrepareDialog(QStringLiteral("Open Graphic LCD File"));
    m_dlgBox.ShowOpen();
    if (m_dlgBox.FileName.isEmpty())
        return;
    OpenFile(m_dlgBox.FileName);
    QCoreApplication::processEvents();
}

bool DrawingFiles::Save()
{
    PrepareDialog(QStringLiteral("Save Graphic LCD File"));
    m_dlgBox.ShowSave();
    return !m_dlgBox.FileName.isEmpty() && SaveFile(m_dlgBox.FileName);
}

void DrawingFiles::OpenFile(const QString &szFilePath)
{
    Drawing drawing;
    // A PBM or XBM opens at its own size, its pixels where the grid shows them.
    const FileStatus read = ReadPictureFile(NativePath(szFilePath), drawing, m_grid.nLCDType());
    if (!read) {
        Warn(m_window, QString::fromStdString(read.message()));
        return;
    }
    m_pictureFile = szFilePath;
    m_session.Open(drawing);
}

bool DrawingFiles::SaveFile(const QString &szFilePath)
{
    const FileStatus saved = SavePicture(m_grid, NativePath(szFilePath));
    if (!saved) {
        Warn(m_window, QString::fromStdString(saved.message()));
        return false;
    }
    m_pictureFile = szFilePath;
    m_session.PictureSaved();
    emit Saved();
    return true;
}
