#include "frmMain.h"

#include "CodeTextBox.h"
#include "DotGridView.h"
#include "FileDialog.h"
#include "ImportImageDialog.h"
#include "InsertTextDialog.h"
#include "LayoutChoiceDialog.h"
#include "PictureImage.h"
#include "PictureStrip.h"
#include "SaveChangesBox.h"
#include "SendDialog.h"
#include "SystemClipboard.h"
#include "Toolbar.h"
#include "ToolbarIcons.h"
#include "Twips.h"
#include "Utf8.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"
#include "core/session/ProgramTexts.h"
#include "frmAbout.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

using namespace tessaldo;

namespace {

const QString kTitle = FromUtf8(kProgramTitle);
const QString kFilter = QStringLiteral("All Files (*.*)|*.*|LCD File (*%1)|*%1|").arg(FromUtf8(kDrawingSuffix));
constexpr int kLcdFilterIndex = 2;
// An import that lasts longer than this shows its progress, looked at this often.
constexpr int kProgressAfterMs = 500;
constexpr int kProgressPollMs = 50;
const QString kNoTextMessage = FromUtf8(kNoTextOnClipboard);
// The window as designed, and the strip of the set's pictures that widens it to the right.
const QSize kWindowSize(TwipsToPixels(3645), TwipsToPixels(7695));
constexpr int kStripWidth = 150;
constexpr int kStripMargin = 6;
constexpr int kButtonHeight = 24;

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

// Where the window keeps what the user chose for next time.
constexpr auto kArrayFormKey = "copyAsCArray/form";
constexpr auto kSendPortKey = "sendToModule/port";
constexpr auto kSendBaudKey = "sendToModule/baud";

QSettings Preferences()
{
    return QSettings(QStringLiteral("Tessaldo"), QStringLiteral("Tessaldo"));
}

QString CaptionOf(CommandId id)
{
    return FromUtf8(CommandWithId(id).caption);
}

// Shows `dialog` until `take` accepts its answer (gives "") or the user
// cancels; each refusal is shown above the question.
void AskUntilTaken(QInputDialog &dialog, const QString &question, const std::function<QString()> &take)
{
    dialog.setLabelText(question);
    // A refusal is a long sentence: wrapped, it does not stretch the dialog across the screen.
    // Wrapped, though, the question would leave the dialog too narrow for its
    // title, which a window manager draws in a larger font beside an icon and
    // three buttons; the dialog's layout takes its width from the label's.
    constexpr int kTitleBarRoom = 180;
    if (auto *label = dialog.findChild<QLabel *>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 3 / 2 + kTitleBarRoom);
    }
    while (dialog.exec() == QDialog::Accepted) {
        const QString problem = take();
        if (problem.isEmpty())
            return;
        dialog.setLabelText(problem + QStringLiteral("\n\n") + question);
    }
}

bool IsDrawingFile(const QString &path)
{
    return RouteIncoming({false, path.toStdString(), std::nullopt}).kind == IncomingKind::DrawingFile;
}

// An image the installed plugins read, by its content.
bool IsImageFile(const QString &path)
{
    return !QImageReader::imageFormat(path).isEmpty();
}

bool HoldsImageOrFile(const QMimeData *data)
{
    return RouteMimeData(data, false).kind != IncomingKind::Nothing;
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
    setFixedSize(kWindowSize);
    BuildToolbar();
    BuildTypeOptions();
    BuildDotPanel();
    BuildCodeBox();
    BuildGridMenu();
    BuildSetPanel();
    if (const auto form = ArrayFormFromName(Preferences().value(kArrayFormKey).toString().toStdString()))
        m_session.SetArrayForm(*form);
    m_sendPort = Preferences().value(kSendPortKey).toString();
    m_sendBaud = Preferences().value(kSendBaudKey, 0).toInt();
    ShowSession();
    m_session.Subscribe([this] { ShowSession(); });
    m_playTimer.setSingleShot(true);
    connect(&m_playTimer, &QTimer::timeout, this, [this] { m_session.ShowNextFrame(); });
    connect(&m_onModule, &ModulePlayer::Failed, this, [this](const QString &problem) {
        m_actions.at(CommandId::PlayOnModule)->setText(CaptionOf(CommandId::PlayOnModule));
        Warn(QStringLiteral("Cannot send to \"%1\": %2.").arg(m_sendPort, problem));
    });
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
    // it to the window unless text is selected there.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), this), &QShortcut::activated, this, &frmMain::CopyByKey);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    // What the user types is no longer the code of any picture.
    connect(txtData, &CodeTextBox::Edited, this, [this] { m_session.ForgetCode(); });
}

QAction *frmMain::AddGridAction(const EditorCommand &command, QMenu *menu)
{
    auto *action = new QAction(FromUtf8(command.caption), this);
    QList<QKeySequence> keys;
    for (const std::string_view key : command.keys) {
        if (!key.empty())
            keys << QKeySequence::fromString(FromUtf8(key), QKeySequence::PortableText);
    }
    action->setShortcuts(keys);
    action->setCheckable(command.checkable);
    connect(action, &QAction::triggered, this, [this, id = command.id] { Perform(id); });
    menu->addAction(action);
    if (keys.isEmpty())
        return action;
    // A grid-only key leaves the other controls theirs; undo and redo answer
    // anywhere but in the code box, which claims those keys before the window sees them.
    if (command.gridOnly) {
        action->setShortcutContext(Qt::WidgetShortcut);
        lbDot->addAction(action);
    } else {
        addAction(action);
    }
    return action;
}

void frmMain::BuildGridMenu()
{
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    for (const EditorCommand &command : EditorCommands()) {
        if (command.OfferedBy(Face::Window))
            m_actions[command.id] = AddGridAction(command, MenuFor(command));
    }

    // The menu says whether there is anything to paste; the key stays live and finds out itself.
    QAction *paste = m_actions.at(CommandId::Paste);
    connect(m_gridMenu, &QMenu::aboutToShow, this, [this, paste] {
        paste->setEnabled(m_session.IsEnabled(CommandId::Paste, RouteMimeData(m_clipboard->Contents(), true).Takes()));
    });
    connect(m_gridMenu, &QMenu::aboutToHide, paste, [paste] { paste->setEnabled(true); });
    // The forms of the C array are one choice: marked as such, and the chosen one is not unchosen by a click.
    auto *arrayForms = new QActionGroup(this);
    for (const EditorCommand &command : EditorCommands()) {
        if (command.arrayForm)
            arrayForms->addAction(m_actions.at(command.id));
    }
    m_setMenu = m_submenus.at(CommandWithId(CommandId::AddPicture).submenu);
    m_setMenu->setObjectName(QStringLiteral("setMenu"));

    connect(lbDot, &DotGridView::ContextMenuRequested, this, [this](QPoint globalPos) {
        // Some platforms send both the key and their own menu request for it.
        if (!m_gridMenu->isVisible())
            m_gridMenu->popup(globalPos);
    });
}

QMenu *frmMain::MenuFor(const EditorCommand &command)
{
    if (command.submenu.empty()) {
        if (command.startsGroup)
            m_gridMenu->addSeparator();
        return m_gridMenu;
    }
    // Each submenu at the place of its first command, whose line goes above the submenu.
    QMenu *&submenu = m_submenus[command.submenu];
    if (submenu == nullptr) {
        if (command.startsGroup)
            m_gridMenu->addSeparator();
        submenu = m_gridMenu->addMenu(FromUtf8(command.submenu));
    } else if (command.startsGroup) {
        submenu->addSeparator();
    }
    return submenu;
}

void frmMain::BuildSetPanel()
{
    m_strip = new PictureStrip(m_session.Doc(), this);
    m_strip->setObjectName(QStringLiteral("pictureStrip"));
    const int width = kStripWidth - kStripMargin;
    const int buttonsTop = kWindowSize.height() - 2 * kButtonHeight - kStripMargin;
    m_strip->setGeometry(kWindowSize.width(), kStripMargin, width, buttonsTop - 2 * kStripMargin);
    // The set's keys answer in the strip as they do on the grid.
    for (const EditorCommand &command : EditorCommands()) {
        if (command.gridOnly && !command.submenu.empty())
            m_strip->addAction(m_actions.at(command.id));
    }
    connect(m_strip, &PictureStrip::PictureChosen, this, [this](std::size_t index) { m_session.Select(index); });
    connect(m_strip, &PictureStrip::PictureMoved, this,
            [this](std::size_t from, std::size_t to) { m_session.MovePicture(from, to); });
    connect(m_strip, &PictureStrip::customContextMenuRequested, this,
            [this](QPoint at) { m_setMenu->popup(m_strip->viewport()->mapToGlobal(at)); });

    // Captions short enough for the buttons; the menu keeps the commands' own.
    const std::array<std::pair<CommandId, QString>, 5> buttons = {
        {{CommandId::AddPicture, QStringLiteral("Add")},
         {CommandId::CopyPicture, QStringLiteral("Copy")},
         {CommandId::DeletePicture, QStringLiteral("Delete")},
         {CommandId::Play, QStringLiteral("Play")},
         {CommandId::OnionSkin, QStringLiteral("Onion Skin")}}};
    const std::array<int, 5> rows = {0, 0, 0, 1, 1};
    const std::array<int, 2> perRow = {3, 2};
    std::array<int, 2> placed = {0, 0};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto row = static_cast<std::size_t>(rows[i]);
        QAction *action = m_actions.at(buttons[i].first);
        action->setIconText(buttons[i].second);
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("setButton_%1").arg(buttons[i].second));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        const int buttonWidth = width / perRow[row];
        button->setGeometry(kWindowSize.width() + placed[row] * buttonWidth, buttonsTop + rows[i] * kButtonHeight,
                            buttonWidth, kButtonHeight);
        ++placed[row];
        m_setButtons << button;
    }
}

void frmMain::SetTabOrder()
{
    QWidget::setTabOrder(lbDot, txtData);
    QWidget::setTabOrder(txtData, cmdCopy);
    QWidget::setTabOrder(cmdCopy, optType[0]);
    QWidget::setTabOrder(optType[0], optType[1]);
    QWidget::setTabOrder(optType[1], m_strip);
    QWidget *previous = m_strip;
    for (QWidget *button : m_setButtons) {
        QWidget::setTabOrder(previous, button);
        previous = button;
    }
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
    m_session.ToggleDot(Index);
}

void frmMain::lbDot_Paint(int Index, DotState state)
{
    m_session.Paint({&Index, 1}, state);
}

void frmMain::optType_Click(int Index)
{
    const auto type = static_cast<LcdType>(Index);
    if (type == m_grid.nLCDType()) {
        lbDot->SetLayout(type); // the same type again re-lays the grid, and nothing else changes
        return;
    }
    m_session.SetType(type);
}

void frmMain::Undo()
{
    m_session.Undo();
}

void frmMain::Redo()
{
    m_session.Redo();
}

void frmMain::ApplyTransform(Transform transform)
{
    m_session.Apply(transform);
}

void frmMain::Perform(CommandId id)
{
    switch (id) {
    case CommandId::ImportImage:
        OpenImage();
        break;
    case CommandId::InsertText:
        InsertText();
        break;
    case CommandId::Paste:
        Paste();
        break;
    case CommandId::CopyAsCArray:
        CopyAsCArray();
        break;
    case CommandId::SendToModule:
        SendToModule();
        break;
    case CommandId::RenamePicture:
        AskPictureName();
        break;
    case CommandId::PictureDelay:
        AskPictureDelay();
        break;
    case CommandId::Play:
        m_session.SetPlaying(!m_session.IsPlaying());
        break;
    case CommandId::PlayOnModule:
        TogglePlayOnModule();
        break;
    case CommandId::OpenSet:
        OpenSet();
        break;
    case CommandId::SaveSet:
        SaveSet();
        break;
    case CommandId::SaveSetAs:
        SaveSetAs();
        break;
    case CommandId::SaveSetAsFolder:
        SaveSetAsFolder();
        break;
    default:
        m_session.Perform(id);
        if (const std::optional<CodeFormat> form = CommandWithId(id).arrayForm)
            Preferences().setValue(kArrayFormKey, FromUtf8(CodeFormatName(*form)));
    }
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
    TakeDots("Import", dialog.Picture());
}

void frmMain::InsertText()
{
    CommitStroke();
    InsertTextDialog dialog(m_grid, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TakeDots("Text", dialog.Picture());
}

void frmMain::Paste()
{
    const QMimeData *data = m_clipboard->Contents();
    Incoming incoming = IncomingOf(data, true);
    incoming.type = m_grid.nLCDType(); // values for another display are read as the grid shows them
    Routed routed = RouteIncoming(incoming);
    if (!routed.candidates.empty()) {
        const std::optional<BitLayout> layout = AskLayout(routed.candidates, incoming.type);
        if (!layout)
            return;
        routed = RouteIncoming(incoming, layout);
    }
    TakeIncoming(routed, data != nullptr ? ImageIn(data) : QImage(), LocalFileIn(data));
}

void frmMain::CopyAsCArray()
{
    m_clipboard->SetText(QString::fromStdString(m_session.ArrayText()));
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
    QSettings preferences = Preferences();
    preferences.setValue(kSendPortKey, m_sendPort);
    preferences.setValue(kSendBaudKey, m_sendBaud);
}

void frmMain::AskPictureName()
{
    CommitStroke();
    const std::size_t index = m_session.Doc().current;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Rename Picture"));
    dialog.setTextValue(FromUtf8(m_session.Doc().Edited().name));
    AskUntilTaken(dialog, FromUtf8(kRenameQuestion),
                  [&] { return FromUtf8(m_session.RenamePicture(index, dialog.textValue().toStdString())); });
}

void frmMain::AskPictureDelay()
{
    CommitStroke();
    const std::size_t index = m_session.Doc().current;
    // The box lets through what the core refuses, so that the user reads why.
    constexpr int kBoxLimit = 9'999'999;
    constexpr int kStep = 10;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Picture Delay"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(0, kBoxLimit);
    dialog.setIntStep(kStep);
    dialog.setIntValue(m_session.Doc().Edited().delayMs);
    AskUntilTaken(dialog, FromUtf8(kDelayQuestion),
                  [&] { return FromUtf8(m_session.SetDelay(index, dialog.intValue())); });
}

void frmMain::TogglePlayOnModule()
{
    CommitStroke();
    QAction *action = m_actions.at(CommandId::PlayOnModule);
    if (m_onModule.IsPlaying()) {
        m_onModule.Stop();
        action->setText(CaptionOf(CommandId::PlayOnModule));
        return;
    }
    if (m_sendPort.isEmpty()) {
        Warn(QStringLiteral("Choose the module's port in \"Send to Module…\" first."));
        return;
    }
    const Document &set = m_session.Doc();
    std::vector<ModulePlayer::Frame> frames;
    for (const Picture &picture : set.pictures) {
        DotGrid grid;
        grid.SetLCDType(set.type);
        grid.SetAllDots(picture.dots);
        const ModuleBytes bytes = PictureModuleBytes(grid);
        frames.push_back(
            {QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())), picture.delayMs});
    }
    if (const QString problem = m_onModule.Start(m_sendPort, m_sendBaud, std::move(frames)); !problem.isEmpty()) {
        Warn(QStringLiteral("Cannot send to \"%1\": %2.").arg(m_sendPort, problem));
        return;
    }
    action->setText(QStringLiteral("Stop Playing on Module"));
}

void frmMain::OpenSet()
{
    OpenSetPaths(QFileDialog::getOpenFileNames(this, QStringLiteral("Open Set"), QString(), OpenSetFilter()));
}

QString frmMain::OpenSetFilter()
{
    QStringList patterns;
    for (const std::string_view suffix : SourceFileSuffixes())
        patterns << u'*' + FromUtf8(suffix);
    return QStringLiteral("Sets (%1 *.gif *%2);;All Files (*)").arg(patterns.join(u' '), FromUtf8(kDrawingSuffix));
}

void frmMain::OpenSetPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    CommitStroke();
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
    // Among drawing files, what does not open as one is left out and named with its reason.
    if (std::any_of(paths.begin(), paths.end(), IsDrawingFile)) {
        opened = OpenSetFiles(files, set, &leftOut);
    } else if (paths.size() > 1) {
        opened = FileStatus::Failed("Cannot open these files as one set: choose one header, C source or image, or "
                                    "drawing files (.Lcd) alone.");
    } else if (QFileInfo(paths.front()).isDir()) {
        opened = OpenSetFolder(files.front(), set, passedOver, &leftOut);
    } else if (IsImageFile(paths.front())) {
        if (!ReadImageSet(paths.front(), set))
            return;
    } else {
        SetFile read = ReadSetFile(files.front(), m_session.Doc().type);
        if (read.set && !read.choices.empty()) {
            const std::optional<BitLayout> chosen = AskLayout(read.choices, read.set->type);
            if (!chosen)
                return;
            read = ReadSetFile(files.front(), m_session.Doc().type, chosen);
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
        Warn(FromUtf8(opened.message()));
        return;
    }
    // Asked only now that there is a set to take the unsaved one's place.
    if (!NoSetIsLost())
        return;
    m_setFile = header;
    m_setSource = source;
    m_pictureFile.clear();
    m_setFileText = header.isEmpty() ? std::string() : std::move(headerText);
    m_session.OpenSet(std::move(set), layout);
    ShowTitle();
    if (!passedOver.empty())
        note = FolderPassedOverNote(files.front(), passedOver) + (note.empty() ? "" : "\n\n" + note);
    if (!leftOut.empty())
        note += (note.empty() ? "" : "\n\n") + LeftOutNote(leftOut);
    if (!note.empty())
        Warn(FromUtf8(note));
}

void frmMain::OpenAtStart(const QString &path)
{
    if (IsSourceFileName(path.toStdString()))
        OpenSetPaths({path});
    else
        OpenFile(path);
}

bool frmMain::ReadImageSet(const QString &path, Document &set)
{
    std::vector<FrameGreys> frames;
    std::string problem;
    if (!ReadFramesShowingProgress(path, frames, problem, this)) {
        if (!problem.empty())
            Warn(QStringLiteral("Cannot open \"%1\": %2.").arg(path, FromUtf8(problem)));
        return false;
    }
    set = SetFromFrames(frames, m_session.Doc().type, m_importOptions, NameFromFileName(NativePath(path)));
    return true;
}

bool frmMain::SaveSet()
{
    if (m_setFile.isEmpty())
        return SaveSetAs();
    // A header written since by someone else, by hand or by a program, is not
    // written over unasked: the user is told, and asked for a name, this one offered.
    if (const FileStatus unchanged = HeaderUnchanged(NativePath(m_setFile), m_setFileText); !unchanged) {
        Warn(FromUtf8(unchanged.message()));
        return SaveSetAs();
    }
    return SaveSetFile(m_setFile) || SaveSetAs();
}

bool frmMain::SaveSetAs()
{
    CommitStroke();
    QString name =
        m_setFile.isEmpty() && !m_setSource.isEmpty() ? FromUtf8(HeaderNameFor(m_setSource.toStdString())) : m_setFile;
    for (;;) {
        m_dlgBox->DialogTitle = QStringLiteral("Save Set");
        m_dlgBox->Filter = QStringLiteral("C Header (*.h)|*.h|All Files (*.*)|*.*|");
        m_dlgBox->FileName = name;
        m_dlgBox->FilterIndex = 1;
        m_dlgBox->ShowSave();
        if (m_dlgBox->FileName.isEmpty())
            return false;
        // As the page does: a name typed without an extension is a header's.
        const std::string toSave = NameToSaveAs(m_dlgBox->FileName.toStdString(), ".h");
        if (toSave.empty()) {
            Warn(FromUtf8(std::string(kNameNeeded)));
            continue;
        }
        name = FromUtf8(toSave);
        if (SaveSetFile(name))
            return true;
    }
}

bool frmMain::SaveSetFile(const QString &path)
{
    CommitStroke();
    const std::filesystem::path file = NativePath(path);
    FileStatus saved = HeaderMayReplace(file);
    SetText header;
    if (saved) {
        header = FormatSetHeader(m_session.Doc(), file, "the Tessaldo window", std::nullopt, m_session.HeaderLayout());
        saved = header.problem.empty() ? WriteFileAtomically(file, header.text) : FileStatus::Failed(header.problem);
    }
    if (!saved) {
        Warn(FromUtf8(saved.message()));
        return false;
    }
    m_setFile = path;
    m_setSource.clear();
    m_setFileText = std::move(header.text);
    m_session.SetSaved();
    ShowTitle();
    return true;
}

void frmMain::SaveSetAsFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Save Set as Folder"));
    if (!folder.isEmpty())
        SaveSetToFolder(folder);
}

bool frmMain::SaveSetToFolder(const QString &folder)
{
    CommitStroke();
    const Document &set = m_session.Doc();
    const std::filesystem::path path = NativePath(folder);
    if (const FileStatus checked = CheckSetFolder(set, path); !checked) {
        Warn(FromUtf8(checked.message()));
        return false;
    }
    const std::vector<std::filesystem::path> replaced = DrawingsReplaced(set, path);
    const QString question = QStringLiteral("\"%1\" already holds drawings the set would replace: %2. Replace them?");
    if (!replaced.empty() && !m_saveChanges->AskToReplace(question.arg(folder, FromUtf8(FrameNames(replaced)))))
        return false;
    // No clean point: the drawings keep neither the set's order nor its delays, which only its header does.
    if (const FileStatus saved = tessaldo::SaveSetFolder(set, path, ReplaceDrawings::Yes); !saved) {
        Warn(FromUtf8(saved.message()));
        return false;
    }
    return true;
}

void frmMain::ShowTitle()
{
    const QString &set = m_setFile.isEmpty() ? m_setSource : m_setFile;
    const QString &named = m_session.HoldsSet() || m_pictureFile.isEmpty() ? set : m_pictureFile;
    const bool clean = m_session.IsClean();
    // Qt's [*] marks unsaved work; with nothing named or changed the title is the program's alone.
    if (named.isEmpty())
        setWindowTitle(clean ? kTitle : kTitle + QStringLiteral("[*]"));
    else
        setWindowTitle(QFileInfo(named).fileName() + QStringLiteral("[*] - ") + kTitle);
    setWindowModified(!clean);
}

void frmMain::TakeIncoming(const Routed &routed, const QImage &image, const QString &file)
{
    switch (routed.kind) {
    case IncomingKind::Image:
        ImportImage(GreyFromImage(image));
        break;
    case IncomingKind::DrawingFile:
        OpenFile(file);
        break;
    case IncomingKind::SourceFile:
        OpenSetPaths({file});
        break;
    case IncomingKind::ImageFile:
        // Any other file, a folder of drawings included, is opened as a set.
        if (IsImageFile(file))
            ImportImageFile(file);
        else
            OpenSetPaths({file});
        break;
    case IncomingKind::Code:
    case IncomingKind::Nothing:
        if (!routed.Takes())
            Warn(QString::fromStdString(CannotPaste(routed)));
        else if (!routed.pictures.empty())
            SayIfAny(m_session.TakePictures("Paste", routed.pictures));
        else
            m_session.TakeDots("Paste", *routed.dots);
        break;
    }
}

std::optional<BitLayout> frmMain::AskLayout(const std::vector<LayoutChoice> &choices, LcdType type)
{
    LayoutChoiceDialog dialog(choices, type, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen().layouts.front();
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
    if (const QStringList files = LocalFilesIn(data); files.size() > 1) {
        QTimer::singleShot(0, this, [this, files] { OpenSetPaths(files); }); // drawings for a set
        return;
    }
    QTimer::singleShot(0, this,
                       [this, routed = RouteMimeData(data, false), image = ImageIn(data), file = LocalFileIn(data)] {
                           TakeIncoming(routed, image, file);
                       });
}

void frmMain::TakeDots(const char *caption, const DotGrid &picture)
{
    m_session.TakeDots(caption, picture.AllDots());
}

void frmMain::CommitStroke()
{
    m_session.EndStroke();
}

void frmMain::ShowSession()
{
    ShowTitle();
    ShowPicture(m_session.Grid());
    lbDot->SetOnionDots(m_session.OnionDots());
    txtData->ShowStale(m_session.CodeIsStale());
    ShowCommandStates();
    ShowSetPanel();
    KeepPlaying();
}

void frmMain::ShowCommandStates()
{
    for (const EditorCommand &command : EditorCommands()) {
        // Paste is looked up on the clipboard as the menu opens.
        if (command.id == CommandId::Paste || !command.OfferedBy(Face::Window))
            continue;
        QAction *action = m_actions.at(command.id);
        // What plays on the module can always be stopped, whatever became of the set.
        const bool stopsModule = command.id == CommandId::PlayOnModule && m_onModule.IsPlaying();
        action->setEnabled(stopsModule || m_session.IsEnabled(command.id, true));
        action->setChecked(command.checkable && m_session.IsChecked(command.id));
    }
    m_actions.at(CommandId::Play)->setIconText(m_session.IsPlaying() ? QStringLiteral("Stop") : QStringLiteral("Play"));
}

void frmMain::ShowSetPanel()
{
    const bool set = m_session.HoldsSet();
    if (set == m_strip->isHidden()) {
        setFixedSize(kWindowSize + QSize(set ? kStripWidth : 0, 0));
        m_strip->setVisible(set);
        for (QWidget *button : m_setButtons)
            button->setVisible(set);
    }
    if (set)
        m_strip->Refresh();
}

void frmMain::KeepPlaying()
{
    if (!m_session.IsPlaying())
        m_playTimer.stop();
    else if (!m_playTimer.isActive())
        m_playTimer.start(m_session.ShownMs());
}

void frmMain::ShowPicture(const DotGrid &picture)
{
    const LcdType type = picture.nLCDType();
    if (type != m_grid.nLCDType()) {
        optType[static_cast<std::size_t>(LcdTypeValue(type))]->setChecked(true);
        lbDot->SetLayout(type); // the layout first, then the type is recorded
        m_grid.SetLCDType(type);
    }
    std::vector<int> changed;
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (picture.State(dot) != m_grid.State(dot)) {
            m_grid.SetDot(dot, picture.State(dot));
            changed.push_back(dot);
        }
    }
    lbDot->RefreshDots(changed);
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
    MoveToClipboard(txtData->Text());
}

bool frmMain::MoveToClipboard(const QString &text)
{
    m_clipboard->Clear();
    m_clipboard->SetText(text);
    if (!m_clipboard->HasText()) {
        QMessageBox::information(this, kTitle, kNoTextMessage, QMessageBox::Ok);
        return false;
    }
    txtData->SetText(QString());
    m_session.ForgetCode();
    return true;
}

void frmMain::CopyByKey()
{
    const EditSession::KeyCopy copy = m_session.CopyByKey(txtData->Text().toStdString());
    const QString note = FromUtf8(copy.note);
    if (copy.text.empty()) {
        QMessageBox::information(this, kTitle, note, QMessageBox::Ok);
        return;
    }
    const QString text = QString::fromStdString(copy.text);
    // Run went first: the box shows its code, which stays there should the clipboard not take it.
    txtData->SetText(text);
    if (MoveToClipboard(text) && !note.isEmpty())
        QToolTip::showText(cmdCopy->mapToGlobal(cmdCopy->rect().center()), note, cmdCopy);
}

void frmMain::New()
{
    m_pictureFile.clear(); // the clear picture is no file's yet
    m_session.New();
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
    txtData->SetText(QString::fromStdString(m_session.Run()));
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
    if (m_session.IsClean())
        return true;
    const bool set = m_session.HoldsSet();
    switch (m_saveChanges->Ask(FromUtf8(m_session.SaveChangesQuestion()))) {
    case SaveChangesQuestion::Answer::Save:
        return set ? SaveSet() : Save();
    case SaveChangesQuestion::Answer::Discard:
        return true;
    case SaveChangesQuestion::Answer::Cancel:
        break;
    }
    return false;
}

bool frmMain::NoSetIsLost()
{
    return !m_session.HoldsSet() || NothingUnsavedIsLost();
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
    m_pictureFile = szFilePath;
    m_session.Open(drawing);
}

bool frmMain::SaveFile(const QString &szFilePath)
{
    const FileStatus saved = tessaldo::SaveFile(m_grid, NativePath(szFilePath));
    if (!saved) {
        Warn(QString::fromStdString(saved.message()));
        return false;
    }
    m_pictureFile = szFilePath;
    m_session.PictureSaved();
    ShowTitle();
    return true;
}

void frmMain::Warn(const QString &message)
{
    QMessageBox::warning(this, kTitle, message, QMessageBox::Ok);
}

void frmMain::SayIfAny(const std::string &note)
{
    if (!note.empty())
        QMessageBox::information(this, kTitle, FromUtf8(note), QMessageBox::Ok);
}
