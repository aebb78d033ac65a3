#include "ui/files/DrawingFiles.h"

#include "core/formats/DrawingFile.h"
#include "core/formats/FontFiles.h"
#include "core/platform/FileIo.h"
#include "core/session/GlyphSet.h"
#include "core/session/Incoming.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"
#include "ui/files/NativePath.h"
#include "ui/window/WindowNotices.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <string>
#include <utility>

using namespace tessaldo;

namespace {

// The designed dialogs of the module's 16 x 16 picture: its filters, the second chosen.
const QString kFilter = QStringLiteral("All Files (*.*)|*.*|LCD File (*%1)|*%1|").arg(FromUtf8(kDrawingSuffix));
constexpr int kLcdFilterIndex = 2;

// Every kind of picture file a picture of this size opens from or saves as, first
// together and then each alone, and the fonts it opens: a drawing file holds the
// module's 16 x 16 only.
QString PictureFilter(bool opening)
{
    QList<std::pair<QString, QString>> kinds{{FromUtf8(Text(TextId::PbmFilter)), QStringLiteral("*.pbm")},
                                             {FromUtf8(Text(TextId::XbmFilter)), QStringLiteral("*.xbm")}};
    if (opening)
        kinds.prepend({QStringLiteral("LCD File"), QStringLiteral("*") + FromUtf8(kDrawingSuffix)});
    QStringList patterns;
    QString each;
    for (const auto &[description, pattern] : kinds) {
        patterns << pattern;
        each += QStringLiteral("%1 (%2)|%2|").arg(description, pattern);
    }
    if (opening) {
        QStringList fonts;
        for (const std::string_view ending : kFontFileEndings)
            fonts << u'*' + FromUtf8(ending);
        each +=
            QStringLiteral("%1 (%2)|%3|").arg(FromUtf8(Text(TextId::FontsFilter)), fonts.join(u' '), fonts.join(u';'));
    }
    return QStringLiteral("%1 (%2)|%3|")
               .arg(FromUtf8(Text(TextId::PicturesFilter)), patterns.join(u' '), patterns.join(u';'))
           + each + QStringLiteral("All Files (*.*)|*.*|");
}

} // namespace

DrawingFiles::DrawingFiles(EditSession &session, CommonDialog &dlgBox, QWidget *window)
    : m_session(session),
      m_dlgBox(dlgBox),
      m_window(window)
{
}

void DrawingFiles::PrepareDialog(const QString &title, bool saving)
{
    // At 16 x 16 the dialogs are as designed, a name kept exactly as typed;
    // at any other size they offer every picture file and complete a name.
    const bool designed = IsModuleSize(m_session.Doc().Size());
    m_dlgBox.DialogTitle = title;
    m_dlgBox.Filter = designed ? kFilter : PictureFilter(!saving);
    m_dlgBox.FileName = QString();
    m_dlgBox.FilterIndex = designed ? kLcdFilterIndex : 1;
    m_dlgBox.addsExtension = !designed;
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
    if (m_dlgBox.FileName.isEmpty())
        return false;
    if (!m_dlgBox.addsExtension)
        return SaveFile(m_dlgBox.FileName);
    const std::string name = NameToSaveAs(m_dlgBox.FileName.toStdString(), m_dlgBox.ChosenExtension().toStdString());
    if (name.empty()) {
        Warn(m_window, FromUtf8(kNameNeeded));
        return false;
    }
    return SaveFile(FromUtf8(name));
}

void DrawingFiles::OpenFile(const QString &szFilePath)
{
    // A C source that holds a u8g2 font or a GFXfont is the font; any other goes on to the code reader.
    if (FontKindOfFile(NativePath(szFilePath)) != FontKind::None) {
        emit FontChosen(szFilePath);
        return;
    }
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
