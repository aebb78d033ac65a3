#include "frmMain.h"

#include "CodeFormats.h"
#include "CodeGenerator.h"
#include "CodeReader.h"
#include "CodeTextBox.h"
#include "DotGridView.h"
#include "DrawingFile.h"
#include "FileDialog.h"
#include "ImportImageDialog.h"
#include "InsertTextDialog.h"
#include "PictureChange.h"
#include "PictureImage.h"
#include "ProgramTexts.h"
#include "SaveChangesBox.h"
#include "SendDialog.h"
#include "SystemClipboard.h"
#include "Toolbar.h"
#include "ToolbarIcons.h"
#include "Twips.h"
#include "Utf8.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QUndoStack>

#include <atomic>
#include <memory>

using namespace tessaldo;

namespace {

const QString kTitle = FromUtf8(kProgramTitle);
const QString kFilter = QStringLiteral("All Files (*.*)|*.*|LCD File (*.Lcd)|*.Lcd|");
constexpr int kLcdFilterIndex = 2;
// An import that lasts longer than this shows its progress, looked at this often.
constexpr int kProgressAfterMs = 500;
constexpr int kProgressPollMs = 50;
const QString kNoTextMessage = FromUtf8(kNoTextOnClipboard);

std::filesystem::path NativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Every format the installed image plugins read, then everything.
QString ImageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString images = patterns.join(u';');
    return QStringLiteral("Images (%1)|%1|All Files (*.*)|*.*|").arg(images);
}

QString LocalFileIn(const QMimeData *data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

bool HoldsImageOrFile(const QMimeData *data)
{
    return data != nullptr && (data->hasImage() || !LocalFileIn(data).isEmpty());
}

// Code as Run, "Copy as C Array" or a header write it, read back.
PickedPicture CodeIn(const QMimeData *data)
{
    if (data == nullptr || !data->hasText())
        return {std::nullopt, "the clipboard holds no image, file or code"};
    return ReadPictureCode(data->text().toStdString());
}

QImage ImageIn(const QMimeData *data)
{
    return data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

// Reads the image's frames on a worker thread, so that the window stays
// painted: an import that lasts shows its progress over `window`, and Cancel
// stops it with nothing changed (false, and no problem). Until the progress
// shows, the user's input waits, as it would for a quick import.
bool ReadFramesShowingProgress(const QString &path, std::vector<FrameGreys> &frames, std::string &problem,
                               QWidget *window)
{
    std::atomic<int> done{0};
    std::atomic<int> count{0};
    std::atomic<bool> cancelled{false};
    bool read = false;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        read = ReadFrameGreys(path, frames, problem, [&](int framesRead, int frameCount) {
            done = framesRead;
            count = frameCount;
            return !cancelled;
        });
    }));
    QProgressDialog progress(QStringLiteral("Importing \"%1\"…").arg(QFileInfo(path).fileName()),
                             QStringLiteral("Cancel"), 0, 0, window);
    progress.setWindowTitle(QStringLiteral("Import Image"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    // Cancel, or Escape, which rejects the dialog and alone would only hide it.
    const auto cancel = [&] {
        cancelled = true;
        progress.cancel();
    };
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, cancel);
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, cancel);
    QTimer poll;
    poll.setInterval(kProgressPollMs);
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
        progress.setMaximum(count > 1 ? count.load() : 0); // one frame: busy, not 0 %
        if (done != progress.value())
            progress.setValue(done); // only when it moves: setting 0 again restarts the wait before showing
    });
    QObject::connect(worker.get(), &QThread::finished, &progress, [] {}); // wakes the loop below
    progress.setValue(0);
    worker->start();
    poll.start();
    while (!worker->isFinished()) {
        const QEventLoop::ProcessEventsFlags input =
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(input | QEventLoop::WaitForMoreEvents);
    }
    worker->wait();
    if (cancelled)
        problem.clear(); // cancelled during the last frame, which the reading does not look back on
    return read && !cancelled;
}

} // namespace

frmMain::frmMain(std::unique_ptr<CommonDialog> dlgBox, std::unique_ptr<Clipboard> clipboard,
                 std::unique_ptr<SaveChangesQuestion> saveChanges, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_dlgBox(dlgBox ? std::move(dlgBox) : std::make_unique<FileDialog>(this)),
      m_clipboard(clipboard ? std::move(clipboard) : std::make_unique<SystemClipboard>()),
      m_saveChanges(saveChanges ? std::move(saveChanges) : std::make_unique<SaveChangesBox>(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kTitle);
    setFixedSize(TwipsToPixels(3645), TwipsToPixels(7695));
    BuildToolbar();
    BuildTypeOptions();
    BuildDotPanel();
    BuildCodeBox();
    BuildHistory();
    BuildGridMenu();
    SetTabOrder();
    CentreOnScreen();
    setAcceptDrops(true);
}

frmMain::~frmMain() = default;

void frmMain::BuildToolbar()
{
    tbarMain = new Toolbar(this);
    tbarMain->setObjectName(QStringLiteral("tbarMain"));
    tbarMain->setGeometry(TwipsRect(0, 0, 3645, 855));
    tbarMain->AddButton(QStringLiteral("New"), QStringLiteral("new"), ToolbarIcons::BlankSheet());
    tbarMain->AddButton(QStringLiteral("Open"), QStringLiteral("open"), ToolbarIcons::SheetWithArrow());
    tbarMain->AddButton(QStringLiteral("Save"), QStringLiteral("save"), ToolbarIcons::OpenBox());
    tbarMain->AddButton(QStringLiteral("Run"), QStringLiteral("run"), ToolbarIcons::ArrowRight());
    tbarMain->AddButton(QStringLiteral("Exit"), QStringLiteral("exit"), ToolbarIcons::GlowingMonitor());
    tbarMain->AddButton(QStringLiteral("About"), QStringLiteral("about"), ToolbarIcons::QuestionCard());
    connect(tbarMain, &Toolbar::ButtonClick, this, &frmMain::tbarMain_ButtonClick);
}

void frmMain::BuildTypeOptions()
{
    Frame2 = new QGroupBox(QStringLiteral("LCD Type"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(TwipsRect(60, 885, 3540, 900));
    const std::array<int, kLcdTypeCount> tops = {285, 570};
    for (int index = 0; index < kLcdTypeCount; ++index) {
        const auto caption = LcdTypeCaption(static_cast<LcdType>(index));
        auto *option = new QRadioButton(QString::fromLatin1(caption.data(), qsizetype(caption.size())), Frame2);
        option->setObjectName(QStringLiteral("optType_%1").arg(index));
        option->setGeometry(TwipsRect(150, tops[static_cast<std::size_t>(index)], 2325, 210));
        connect(option, &QRadioButton::clicked, this, [this, index] { optType_Click(index); });
        optType[static_cast<std::size_t>(index)] = option;
    }
    optType[0]->setChecked(true);
}

void frmMain::BuildDotPanel()
{
    Frame1 = new QGroupBox(QStringLiteral("LCD Pannel"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(45, 1860, 3570, 3675));
    lbDot = new DotGridView(m_grid, Frame1);
    lbDot->setObjectName(QStringLiteral("lbDot"));
    lbDot->move(TwipsToPixels(kGridLeftTwips), TwipsToPixels(kGridTopTwips));
    connect(lbDot, &DotGridView::DotClicked, this, &frmMain::lbDot_Click);
    connect(lbDot, &DotGridView::DotPainted, this, &frmMain::lbDot_Paint);
    connect(lbDot, &DotGridView::StrokeFinished, this, &frmMain::CommitStroke);
}

void frmMain::BuildCodeBox()
{
    txtData = new CodeTextBox(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setGeometry(TwipsRect(30, 5580, 3555, 1185));
    cmdCopy = new QPushButton(FromUtf8(kCopyCaption), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setGeometry(TwipsRect(45, 6825, 3510, 450));
    // The key its caption names, anywhere in the window; the code box leaves
    // it to the button unless text is selected there.
    cmdCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
}

void frmMain::BuildHistory()
{
    m_history = new QUndoStack(this);
    m_history->setUndoLimit(kHistorySteps);
}

QAction *frmMain::AddGridAction(const QString &text, const QKeySequence &key, const std::function<void()> &trigger)
{
    auto *action = new QAction(text, this);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, trigger);
    m_gridMenu->addAction(action);
    return action;
}

void frmMain::BuildGridMenu()
{
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));

    // Undo and redo answer anywhere in the window; the code box keeps its own,
    // because a text box claims those keys before the window sees them.
    QAction *undo = AddGridAction(QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { Undo(); });
    QAction *redo = AddGridAction(QStringLiteral("Redo"), {}, [this] { Redo(); });
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(m_history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    addActions({undo, redo});
    m_gridMenu->addSeparator();

    // The transforms answer their keys only while the grid has the focus.
    struct Item {
        const char *text;
        QKeySequence key;
        Transform transform;
    };
    const Item items[] = {
        {"Invert", QKeySequence(Qt::CTRL | Qt::Key_I), Transform::Invert},
        {"Shift Up", QKeySequence(Qt::SHIFT | Qt::Key_Up), Transform::ShiftUp},
        {"Shift Down", QKeySequence(Qt::SHIFT | Qt::Key_Down), Transform::ShiftDown},
        {"Shift Left", QKeySequence(Qt::SHIFT | Qt::Key_Left), Transform::ShiftLeft},
        {"Shift Right", QKeySequence(Qt::SHIFT | Qt::Key_Right), Transform::ShiftRight},
        {"Flip Horizontally", {}, Transform::FlipHorizontally},
        {"Flip Vertically", {}, Transform::FlipVertically},
        {"Rotate Clockwise", {}, Transform::RotateClockwise},
        {"Rotate Counterclockwise", {}, Transform::RotateCounterclockwise},
    };
    for (const Item &item : items) {
        const Transform transform = item.transform;
        QAction *action =
            AddGridAction(QString::fromLatin1(item.text), item.key, [this, transform] { ApplyTransform(transform); });
        action->setShortcutContext(Qt::WidgetShortcut);
        lbDot->addAction(action);
    }
    m_gridMenu->addSeparator();
    AddGridAction(QStringLiteral("Import Image…"), {}, [this] { OpenImage(); });
    AddGridAction(QStringLiteral("Insert Text…"), {}, [this] { InsertText(); });
    m_paste = AddGridAction(QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), [this] { Paste(); });
    m_paste->setShortcutContext(Qt::WidgetShortcut);
    lbDot->addAction(m_paste);
    m_gridMenu->addSeparator();
    AddGridAction(QStringLiteral("Copy as C Array"), {}, [this] { CopyAsCArray(); });
    AddGridAction(QStringLiteral("Send to Module…"), {}, [this] { SendToModule(); });

    // The menu says whether there is anything to paste; the key stays live and finds out itself.
    connect(m_gridMenu, &QMenu::aboutToShow, this, [this] {
        const QMimeData *data = m_clipboard->Contents();
        m_paste->setEnabled(HoldsImageOrFile(data) || CodeIn(data).bytes);
    });
    connect(m_gridMenu, &QMenu::aboutToHide, m_paste, [this] { m_paste->setEnabled(true); });

    connect(lbDot, &DotGridView::ContextMenuRequested, this, [this](QPoint globalPos) {
        // Some platforms send both the key and their own menu request for it.
        if (!m_gridMenu->isVisible())
            m_gridMenu->popup(globalPos);
    });
}

void frmMain::SetTabOrder()
{
    QWidget::setTabOrder(lbDot, txtData);
    QWidget::setTabOrder(txtData, cmdCopy);
    QWidget::setTabOrder(cmdCopy, optType[0]);
    QWidget::setTabOrder(optType[0], optType[1]);
}

void frmMain::CentreOnScreen()
{
    // Done here rather than left to a window manager, which may not exist.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(available.center());
    // On a screen smaller than the window, keep its top-left corner, and so its title, in sight.
    move(std::max(frame.left(), available.left()), std::max(frame.top(), available.top()));
}

void frmMain::lbDot_Click(int Index)
{
    Change(QStringLiteral("Dot %1").arg(Index), [Index](DotGrid &grid) { grid.ToggleDot(Index); });
}

void frmMain::lbDot_Paint(int Index, DotState state)
{
    // The dots show as the pointer crosses them; the history gets the whole stroke when it ends.
    if (!m_strokeStart)
        m_strokeStart = m_grid;
    m_grid.SetDot(Index, state);
    lbDot->RefreshDot(Index);
    txtData->FollowPicture(m_grid.AllDots());
}

void frmMain::optType_Click(int Index)
{
    const auto type = static_cast<LcdType>(Index);
    if (type == m_grid.nLCDType()) {
        lbDot->SetLayout(type); // the same type again re-lays the grid, and nothing else changes
        return;
    }
    Change(QStringLiteral("Type %1").arg(Index), [type](DotGrid &grid) { grid.SetLCDType(type); });
}

void frmMain::Undo()
{
    CommitStroke();
    m_history->undo();
}

void frmMain::Redo()
{
    CommitStroke();
    m_history->redo();
}

void frmMain::ApplyTransform(Transform transform)
{
    const auto name = TransformName(transform);
    Change(QString::fromLatin1(name.data(), qsizetype(name.size())),
           [transform](DotGrid &grid) { tessaldo::ApplyTransform(grid, transform); });
}

void frmMain::OpenImage()
{
    m_dlgBox->DialogTitle = QStringLiteral("Open Image");
    m_dlgBox->Filter = ImageFilter();
    m_dlgBox->FileName = QString();
    m_dlgBox->FilterIndex = 1;
    m_dlgBox->ShowOpen();
    if (!m_dlgBox->FileName.isEmpty())
        ImportImageFile(m_dlgBox->FileName);
}

void frmMain::ImportImageFile(const QString &path)
{
    std::vector<FrameGreys> frames;
    std::string problem;
    if (!ReadFramesShowingProgress(path, frames, problem, this)) {
        if (!problem.empty())
            Warn(QStringLiteral("Cannot import \"%1\": %2.").arg(path, QString::fromStdString(problem)));
        return;
    }
    ImportFrames(std::move(frames), QFileInfo(path).completeBaseName());
}

void frmMain::ImportImage(const GreyImage &image)
{
    ImportFrames({FrameFromGreys(image, 0)}, QStringLiteral("frame"));
}

void frmMain::ImportFrames(std::vector<FrameGreys> frames, const QString &stem)
{
    CommitStroke();
    ImportImageDialog dialog(std::move(frames), stem, m_grid.nLCDType(), m_importOptions, this);
    dialog.SetModulePort(m_sendPort, m_sendBaud);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_importOptions = dialog.Options();
    TakeDots(QStringLiteral("Import"), dialog.Picture());
}

void frmMain::InsertText()
{
    CommitStroke();
    InsertTextDialog dialog(m_grid, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TakeDots(QStringLiteral("Text"), dialog.Picture());
}

void frmMain::Paste()
{
    const QMimeData *data = m_clipboard->Contents();
    if (HoldsImageOrFile(data)) {
        TakeIncoming(ImageIn(data), LocalFileIn(data));
        return;
    }
    const PickedPicture code = CodeIn(data);
    if (!code.bytes) {
        Warn(QStringLiteral("Cannot paste: %1.").arg(QString::fromStdString(code.problem)));
        return;
    }
    DotGrid picture;
    picture.SetAllDots(DotsFromPictureBytes(*code.bytes));
    TakeDots(QStringLiteral("Paste"), picture);
}

void frmMain::CopyAsCArray()
{
    m_clipboard->SetText(QString::fromStdString(CArray({m_grid, "picture", "the Tessaldo window"})));
}

void frmMain::SendToModule()
{
    CommitStroke();
    const ModuleBytes bytes = PictureModuleBytes(m_grid);
    SendDialog dialog(QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())), m_sendPort,
                      m_sendBaud, this);
    dialog.exec();
    m_sendPort = dialog.Port();
    m_sendBaud = dialog.Baud();
}

void frmMain::TakeIncoming(const QImage &image, const QString &file)
{
    if (!image.isNull())
        ImportImage(GreyFromImage(image));
    else if (QFileInfo(file).suffix().compare(u"lcd", Qt::CaseInsensitive) == 0)
        OpenFile(file);
    else
        ImportImageFile(file);
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (HoldsImageOrFile(event->mimeData()))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!HoldsImageOrFile(data))
        return;
    event->acceptProposedAction();
    // The dialog waits until the drop is over, so the program it came from is not held up.
    QTimer::singleShot(0, this, [this, image = ImageIn(data), file = LocalFileIn(data)] { TakeIncoming(image, file); });
}

void frmMain::Change(const QString &text, const std::function<void(DotGrid &)> &edit)
{
    CommitStroke();
    DotGrid after = m_grid;
    edit(after);
    if (after == m_grid)
        return; // a step that changes nothing would only make Undo look broken
    m_history->push(new PictureChange(text, m_grid, after, [this](const DotGrid &picture) { ShowPicture(picture); }));
}

void frmMain::TakeDots(const QString &text, const DotGrid &picture)
{
    Change(text, [&picture](DotGrid &grid) { grid.SetAllDots(picture.AllDots()); });
}

void frmMain::CommitStroke()
{
    if (!m_strokeStart)
        return;
    const DotGrid before = *std::exchange(m_strokeStart, std::nullopt);
    if (before != m_grid)
        m_history->push(new PictureChange(QStringLiteral("Stroke"), before, m_grid,
                                          [this](const DotGrid &picture) { ShowPicture(picture); }));
}

void frmMain::ShowPicture(const DotGrid &picture)
{
    const LcdType type = picture.nLCDType();
    if (type != m_grid.nLCDType()) {
        optType[static_cast<std::size_t>(LcdTypeValue(type))]->setChecked(true);
        lbDot->SetLayout(type); // the layout first, then the type is recorded
        m_grid.SetLCDType(type);
    }
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (picture.State(dot) != m_grid.State(dot)) {
            m_grid.SetDot(dot, picture.State(dot));
            lbDot->RefreshDot(dot);
        }
    }
    txtData->FollowPicture(m_grid.AllDots());
}

void frmMain::tbarMain_ButtonClick(const QString &key)
{
    if (key == u"new")
        New();
    else if (key == u"open")
        Open();
    else if (key == u"save")
        Save();
    else if (key == u"run")
        Run();
    else if (key == u"exit")
        Exit();
    else if (key == u"about")
        About();
}

void frmMain::cmdCopy_Click()
{
    m_clipboard->Clear();
    m_clipboard->SetText(txtData->Text());
    if (m_clipboard->HasText())
        txtData->SetText(QString());
    else
        QMessageBox::information(this, kTitle, kNoTextMessage, QMessageBox::Ok);
}

void frmMain::New()
{
    Change(QStringLiteral("New"), [](DotGrid &grid) { grid.ClearLCD(); });
    txtData->SetText(QString());
}

void frmMain::PrepareDialog(const QString &title)
{
    m_dlgBox->DialogTitle = title;
    m_dlgBox->Filter = kFilter;
    m_dlgBox->FileName = QString();
    m_dlgBox->FilterIndex = kLcdFilterIndex;
}

void frmMain::Open()
{
    PrepareDialog(QStringLiteral("Open Graphic LCD File"));
    m_dlgBox->ShowOpen();
    if (m_dlgBox->FileName.isEmpty())
        return;
    OpenFile(m_dlgBox->FileName);
    QCoreApplication::processEvents();
}

bool frmMain::Save()
{
    PrepareDialog(QStringLiteral("Save Graphic LCD File"));
    m_dlgBox->ShowSave();
    return !m_dlgBox->FileName.isEmpty() && SaveFile(m_dlgBox->FileName);
}

void frmMain::Run()
{
    txtData->SetCode(QString::fromStdString(LCDtoCODE(m_grid)), m_grid.AllDots());
    txtData->repaint();
}

void frmMain::Exit()
{
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->setAccepted(NothingUnsavedIsLost());
}

bool frmMain::NothingUnsavedIsLost()
{
    CommitStroke();
    if (m_grid == m_cleanPicture)
        return true;
    switch (m_saveChanges->Ask()) {
    case SaveChangesQuestion::Answer::Save:
        return Save();
    case SaveChangesQuestion::Answer::Discard:
        return true;
    case SaveChangesQuestion::Answer::Cancel:
        break;
    }
    return false;
}

void frmMain::About()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::OpenFile(const QString &szFilePath)
{
    Drawing drawing;
    const FileStatus read = ReadDrawingFile(NativePath(szFilePath), drawing);
    if (!read) {
        Warn(QString::fromStdString(read.message()));
        return;
    }
    Change(QStringLiteral("Open"), [&drawing](DotGrid &grid) { ApplyDrawing(grid, drawing); });
    m_cleanPicture = m_grid;
}

bool frmMain::SaveFile(const QString &szFilePath)
{
    const FileStatus saved = tessaldo::SaveFile(m_grid, NativePath(szFilePath));
    if (!saved) {
        Warn(QString::fromStdString(saved.message()));
        return false;
    }
    m_cleanPicture = m_grid;
    return true;
}

void frmMain::Warn(const QString &message)
{
    QMessageBox::warning(this, kTitle, message, QMessageBox::Ok);
}
