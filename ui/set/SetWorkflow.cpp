#include "ui/set/SetWorkflow.h"

#include "core/formats/DrawingFile.h"
#include "core/formats/FontFiles.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/platform/FileIo.h"
#include "core/session/Incoming.h"
#include "core/session/OpenSetPlan.h"
#include "core/session/ProgramTexts.h"
#include "ui/common/Utf8.h"
#include "ui/dialogs/LayoutChoiceDialog.h"
#include "ui/files/ImageImport.h"
#include "ui/files/NativePath.h"
#include "ui/files/Preferences.h"
#include "ui/set/ProgressFrameReader.h"
#include "ui/window/WindowNotices.h"

#include <QFileDialog>
#include <QFileInfo>

#include <string>
#include <utility>
#include <vector>

using namespace tessaldo;

namespace {

// The core's plan for the paths, told which are folders and which images Qt reads.
OpenSetPlan PlanFor(const QStringList &paths)
{
    std::vector<std::string> names;
    for (const QString &path : paths)
        names.push_back(path.toStdString());
    std::vector<ChosenFile> chosen;
    for (qsizetype at = 0; at < paths.size(); ++at) {
        const QString &path = paths.at(at);
        chosen.push_back(
            {names.at(static_cast<std::size_t>(at)), QFileInfo(path).isDir(), ProgressFrameReader::IsImage(path)});
    }
    return PlanOpenSet(chosen);
}

} // namespace

SetWorkflow::SetWorkflow(EditSession &session, CommonDialog &dlgBox, SaveChangesQuestion &saveChanges,
                         const ImageImport &import, std::function<bool()> nothingUnsavedIsLost, QWidget *window)
    : m_session(session),
      m_dlgBox(dlgBox),
      m_saveChanges(saveChanges),
      m_import(import),
      m_nothingUnsavedIsLost(std::move(nothingUnsavedIsLost)),
      m_window(window)
{
    m_session.Subscribe([this] { FollowHistory(); });
}

void SetWorkflow::FollowHistory()
{
    if (!Named().isEmpty() && m_session.Steps().Index() < m_setStep)
        Forget();
}

void SetWorkflow::Forget()
{
    Name(QString(), QString(), std::string());
}

void SetWorkflow::Name(const QString &header, const QString &source, std::string headerText)
{
    m_setFile = header;
    m_setSource = source;
    m_setFileText = std::move(headerText);
    m_setStep = m_session.Steps().Index();
    emit NameChanged();
}

void SetWorkflow::OpenSet()
{
    const QStringList paths =
        QFileDialog::getOpenFileNames(m_window, QStringLiteral("Open Set"), LastFolder(), OpenSetFilter());
    if (!paths.isEmpty())
        KeepFolderOf(paths.constFirst());
    OpenSetPaths(paths);
}

QString SetWorkflow::OpenSetFilter()
{
    QStringList patterns;
    for (const std::string_view suffix : SourceFileSuffixes())
        patterns << u'*' + FromUtf8(suffix);
    return QStringLiteral("Sets (%1 *.gif *%2);;All Files (*)").arg(patterns.join(u' '), FromUtf8(kDrawingSuffix));
}

void SetWorkflow::OpenSetPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    if (paths.size() == 1 && FontKindOfFile(NativePath(paths.constFirst())) != FontKind::None) {
        emit FontChosen(paths.constFirst());
        return;
    }
    m_session.EndStroke();
    std::vector<std::filesystem::path> files;
    for (const QString &path : paths)
        files.push_back(NativePath(path));
    Document set;
    QString header;
    BitLayout layout = BitLayout::Module;
    FileStatus opened = FileStatus::Ok();
    std::vector<std::filesystem::path> passedOver;
    std::vector<std::string> leftOut;
    std::string note;
    std::string headerText;
    QString source;
    const OpenSetPlan plan = PlanFor(paths);
    // Among drawing files, what does not open as one is left out and named with its reason.
    if (plan.reader == SetReader::Drawings) {
        opened = OpenSetFiles(files, set, &leftOut);
    } else if (plan.reader == SetReader::Refused) {
        opened = FileStatus::Failed(plan.refusal);
    } else if (plan.reader == SetReader::Folder) {
        opened = OpenSetFolder(files.front(), set, passedOver, &leftOut);
    } else if (plan.reader == SetReader::Image) {
        if (!ReadImageSet(paths.front(), set))
            return;
    } else {
        SetFile read = ReadSetFile(files.front(), m_session.Doc().type);
        if (read.set && !read.choices.empty()) {
            const std::optional<LayoutChoice> chosen = LayoutChoiceDialog::Ask(read.choices, read.set->type, m_window);
            if (!chosen)
                return;
            read = ReadSetFile(files.front(), m_session.Doc().type, chosen->layouts.front());
        }
        opened = read.status;
        note = std::move(read.passedOver);
        headerText = std::move(read.text);
        if (read.set)
            set = std::move(*read.set);
        if (read.ownHeader)
            header = paths.front();
        else
            source = paths.front();
        layout = read.layout;
    }
    if (!opened) {
        Warn(m_window, FromUtf8(opened.message()));
        return;
    }
    // Asked only now that there is a set to take the unsaved work's place.
    if (!m_nothingUnsavedIsLost())
        return;
    emit SetOpening();
    m_session.OpenSet(std::move(set), layout);
    Name(header, source, header.isEmpty() ? std::string() : std::move(headerText));
    if (!passedOver.empty())
        note = FolderPassedOverNote(files.front(), passedOver) + (note.empty() ? "" : "\n\n" + note);
    if (!leftOut.empty())
        note += (note.empty() ? "" : "\n\n") + LeftOutNote(leftOut);
    if (!note.empty())
        Warn(m_window, FromUtf8(note));
}

bool SetWorkflow::ReadImageSet(const QString &path, Document &set)
{
    std::vector<FrameGreys> frames;
    std::string problem;
    if (!m_import.Reader().Read(path, frames, problem)) {
        if (!problem.empty())
            Warn(m_window, QStringLiteral("Cannot open \"%1\": %2.").arg(path, FromUtf8(problem)));
        return false;
    }
    set = SetFromFrames(frames, m_session.Doc().type, m_import.Options(), NameFromFileName(NativePath(path)));
    return true;
}

bool SetWorkflow::SaveSet()
{
    if (m_setFile.isEmpty())
        return SaveSetAs();
    // A header written since by someone else, by hand or by a program, is not
    // written over unasked: the user is told, and asked for a name, this one offered.
    if (const FileStatus unchanged = HeaderUnchanged(NativePath(m_setFile), m_setFileText); !unchanged) {
        Warn(m_window, FromUtf8(unchanged.message()));
        return SaveSetAs();
    }
    return SaveSetFile(m_setFile) || SaveSetAs();
}

bool SetWorkflow::SaveSetAs()
{
    m_session.EndStroke();
    QString name =
        m_setFile.isEmpty() && !m_setSource.isEmpty() ? FromUtf8(HeaderNameFor(m_setSource.toStdString())) : m_setFile;
    for (;;) {
        m_dlgBox.DialogTitle = QStringLiteral("Save Set");
        m_dlgBox.Filter = QStringLiteral("C Header (*.h)|*.h|All Files (*.*)|*.*|");
        m_dlgBox.FileName = name;
        m_dlgBox.FilterIndex = 1;
        m_dlgBox.ShowSave();
        if (m_dlgBox.FileName.isEmpty())
            return false;
        // As the page does: a name typed without an extension is a header's.
        const std::string toSave = NameToSaveAs(m_dlgBox.FileName.toStdString(), ".h");
        if (toSave.empty()) {
            Warn(m_window, FromUtf8(std::string(kNameNeeded)));
            continue;
        }
        name = FromUtf8(toSave);
        if (SaveSetFile(name))
            return true;
    }
}

bool SetWorkflow::SaveSetFile(const QString &path)
{
    m_session.EndStroke();
    const std::filesystem::path file = NativePath(path);
    FileStatus saved = HeaderMayReplace(file);
    SetText header;
    if (saved) {
        header = FormatSetHeader(m_session.Doc(), file, "the Tessaldo window", std::nullopt, m_session.HeaderLayout());
        saved = header.problem.empty() ? WriteFileAtomically(file, header.text) : FileStatus::Failed(header.problem);
    }
    if (!saved) {
        Warn(m_window, FromUtf8(saved.message()));
        return false;
    }
    m_session.SetSaved();
    Name(path, QString(), std::move(header.text));
    return true;
}

void SetWorkflow::SaveSetAsFolder()
{
    const QString folder =
        QFileDialog::getExistingDirectory(m_window, QStringLiteral("Save Set as Folder"), LastFolder());
    if (!folder.isEmpty())
        SaveSetToFolder(folder);
}

bool SetWorkflow::SaveSetToFolder(const QString &folder)
{
    m_session.EndStroke();
    const Document &set = m_session.Doc();
    const std::filesystem::path path = NativePath(folder);
    if (const FileStatus checked = CheckSetFolder(set, path); !checked) {
        Warn(m_window, FromUtf8(checked.message()));
        return false;
    }
    const std::vector<std::filesystem::path> replaced = DrawingsReplaced(set, path);
    const QString question = QStringLiteral("\"%1\" already holds drawings the set would replace: %2. Replace them?");
    if (!replaced.empty() && !m_saveChanges.AskToReplace(question.arg(folder, FromUtf8(FrameNames(replaced)))))
        return false;
    // No clean point: the drawings keep neither the set's order nor its delays, which only its header does.
    if (const FileStatus saved = tessaldo::SaveSetFolder(set, path, ReplaceDrawings::Yes); !saved) {
        Warn(m_window, FromUtf8(saved.message()));
        return false;
    }
    return true;
}
