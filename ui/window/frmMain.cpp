#include "ui/window/frmMain.h"

#include "core/code/CodeFormats.h"
#include "core/formats/SetFiles.h"
#include "core/session/ProgramTexts.h"
#include "ui/canvas/CanvasTools.h"
#include "ui/canvas/DotGridView.h"
#include "ui/canvas/GlyphGuides.h"
#include "ui/canvas/PictureSizing.h"
#include "ui/common/Twips.h"
#include "ui/common/Utf8.h"
#include "ui/dialogs/FileDialog.h"
#include "ui/dialogs/InsertTextDialog.h"
#include "ui/dialogs/PictureQuestions.h"
#include "ui/dialogs/SaveChangesBox.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/files/DrawingFiles.h"
#include "ui/files/FontWorkflow.h"
#include "ui/files/ImageImport.h"
#include "ui/files/IncomingRouter.h"
#include "ui/files/Preferences.h"
#include "ui/files/SystemClipboard.h"
#include "ui/set/SetPanel.h"
#include "ui/set/SetWorkflow.h"
#include "ui/window/CanvasBars.h"
#include "ui/window/CodeCopy.h"
#include "ui/window/CodeTextBox.h"
#include "ui/window/CommandMenu.h"
#include "ui/window/DisplayPreviewPanel.h"
#include "ui/window/FormDocks.h"
#include "ui/window/ModuleSending.h"
#include "ui/window/Toolbar.h"
#include "ui/window/WindowCorners.h"
#include "ui/window/WindowNotices.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

using namespace tessaldo;

namespace {

const QString kTitle = WindowTitle();
// The window as designed; the set's panel widens it to the right.
const QSize kWindowSize(TwipsToPixels(kWindowWidthTwips), TwipsToPixels(kWindowHeightTwips));

} // namespace

frmMain::frmMain(std::unique_ptr<CommonDialog> dlgBox, std::unique_ptr<Clipboard> clipboard,
                 std::unique_ptr<SaveChangesQuestion> saveChanges, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_dlgBox(dlgBox ? std::move(dlgBox) : std::make_unique<FileDialog>(this)),
      m_clipboard(clipboard ? std::move(clipboard) : std::make_unique<SystemClipboard>()),
      m_saveChanges(saveChanges ? std::move(saveChanges) : std::make_unique<SaveChangesBox>(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kTitle);
    // The form as designed at its smallest, below the menu bar; larger, the canvas takes the room.
    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("frmMainForm"));
    m_form->setMinimumSize(kWindowSize);
    setCentralWidget(m_form);
    BuildToolbar();
    BuildTypeOptions();
    BuildDotPanel();
    BuildCodeBox();
    BuildWorkflows();
    BuildGridMenu();
    m_panel = std::make_unique<SetPanel>(m_session, *m_menu, kWindowSize, m_form);
    m_sizing = std::make_unique<PictureSizing>(
        m_session, [this] { return NothingUnsavedIsLost(); }, this);
    m_sizing->Answer(*m_menu);
    connect(m_sizing.get(), &PictureSizing::PictureStarted, m_drawings.get(), &DrawingFiles::Forget);
    connect(m_sizing.get(), &PictureSizing::PictureStarted, m_sets.get(), &SetWorkflow::Forget);
    connect(m_sizing.get(), &PictureSizing::PictureStarted, txtData, [this] { txtData->SetText(QString()); });
    m_preview = new DisplayPreviewPanel(m_session, this);
    auto *corners = new WindowCorners(m_form);
    m_canvas->Anchor(*corners);
    corners->Add(txtData, WindowCorners::Down | WindowCorners::Wider);
    corners->Add(cmdCopy, WindowCorners::Down | WindowCorners::Wider);
    m_panel->Anchor(*corners);
    m_docks = new FormDocks(this, m_form, {tbarMain, Frame2, Frame1, lbDot, {txtData, cmdCopy}, m_panel->Widgets()},
                            *corners);
    m_session.SetArrayForm(StoredWorkspace().arrayForm);
    ShowSession();
    m_session.Subscribe([this] { ShowSession(); });
    SetTabOrder();
    layout()->activate();
    resize(minimumSize());
    CentreOnScreen(this);
    setAcceptDrops(true);
}

frmMain::~frmMain() = default;

void frmMain::BuildGridMenu()
{
    m_menu = std::make_unique<CommandMenu>(m_session, *m_incoming, this, lbDot, [this](CommandId id) { Perform(id); });
    connect(lbDot, &DotGridView::ContextMenuRequested, m_menu.get(), &CommandMenu::Popup);
    m_menu->FillMenuBar(menuBar());
    m_bars = new CanvasBars(m_session, *m_menu, lbDot, this);
    connect(m_module.get(), &ModuleSending::PlayCaptionChanged, m_menu->Action(CommandId::PlayOnModule),
            &QAction::setText);
}

void frmMain::BuildWorkflows()
{
    m_module = std::make_unique<ModuleSending>(m_session, m_grid, this);
    m_import = std::make_unique<ImageImport>(m_session, *m_dlgBox, *m_module, this);
    m_sets = std::make_unique<SetWorkflow>(
        m_session, *m_dlgBox, *m_saveChanges, *m_import, [this] { return NothingUnsavedIsLost(); }, this);
    m_questions = std::make_unique<PictureQuestions>(m_session, this);
    m_drawings = std::make_unique<DrawingFiles>(m_session, *m_dlgBox, this);
    connect(m_drawings.get(), &DrawingFiles::Saved, this, &frmMain::ShowTitle);
    connect(m_drawings.get(), &DrawingFiles::SourceChosen, m_sets.get(), &SetWorkflow::OpenSetPaths);
    m_fonts = std::make_unique<FontWorkflow>(
        m_session, *m_dlgBox, [this] { return NothingUnsavedIsLost(); }, this);
    connect(m_drawings.get(), &DrawingFiles::FontChosen, m_fonts.get(), &FontWorkflow::OpenFont);
    connect(m_sets.get(), &SetWorkflow::FontChosen, m_fonts.get(), &FontWorkflow::OpenFont);
    connect(m_fonts.get(), &FontWorkflow::FontOpened, m_drawings.get(), &DrawingFiles::Forget);
    connect(m_fonts.get(), &FontWorkflow::FontOpened, m_sets.get(), &SetWorkflow::Forget);
    new GlyphGuides(m_session, lbDot);
    connect(m_sets.get(), &SetWorkflow::SetOpening, m_drawings.get(), &DrawingFiles::Forget);
    connect(m_sets.get(), &SetWorkflow::NameChanged, this, &frmMain::ShowTitle);
    m_incoming = std::make_unique<IncomingRouter>(m_session, *m_clipboard, m_grid, this);
    connect(m_incoming.get(), &IncomingRouter::ImageCame, this, &frmMain::ImportImage);
    connect(m_incoming.get(), &IncomingRouter::DrawingFileCame, this, &frmMain::OpenFile);
    connect(m_incoming.get(), &IncomingRouter::ImageFileCame, this, &frmMain::ImportImageFile);
    connect(m_incoming.get(), &IncomingRouter::SetPathsCame, this, &frmMain::OpenSetPaths);
}

QMenu *frmMain::GridMenu() const
{
    return m_menu->Menu();
}

void frmMain::SetTabOrder()
{
    m_bars->ChainTabOrder(lbDot); // off 16 x 16, the tools come before the canvas
    QWidget::setTabOrder(lbDot, txtData);
    QWidget::setTabOrder(txtData, cmdCopy);
    QWidget::setTabOrder(cmdCopy, optType[0]);
    QWidget::setTabOrder(optType[0], optType[1]);
    m_panel->ChainTabOrder(optType[1]);
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
    if (m_canvas->Perform(id))
        return;
    if (!IsCarriedOutByFace(id)) {
        m_session.Perform(id);
        if (const std::optional<CodeFormat> form = CommandWithId(id).arrayForm)
            StoreArrayForm(*form);
        return;
    }
    switch (id) {
    case CommandId::New:
        New();
        break;
    case CommandId::Open:
        Open();
        break;
    case CommandId::Save:
    case CommandId::SaveAs: // Save asks for the name each time, as designed
        Save();
        break;
    case CommandId::Run:
        Run();
        break;
    case CommandId::Exit:
        Exit();
        break;
    case CommandId::About:
        About();
        break;
    case CommandId::ImportImage:
        m_import->OpenImage();
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
        m_questions->AskPictureName();
        break;
    case CommandId::PictureDelay:
        m_questions->AskPictureDelay();
        break;
    case CommandId::Play:
        m_session.SetPlaying(!m_session.IsPlaying());
        break;
    case CommandId::PlayOnModule:
        TogglePlayOnModule();
        break;
    case CommandId::OpenSet:
        m_sets->OpenSet();
        break;
    case CommandId::SaveSet:
        m_sets->SaveSet();
        break;
    case CommandId::SaveSetAs:
        m_sets->SaveSetAs();
        break;
    case CommandId::SaveSetAsFolder:
        m_sets->SaveSetAsFolder();
        break;
    case CommandId::AddGlyph:
        m_fonts->AddGlyph();
        break;
    case CommandId::GlyphsFromText:
        m_fonts->GlyphsFromText();
        break;
    case CommandId::SaveFontAs:
        m_fonts->SaveFontAs();
        break;
    default: // Copy Link, which only the page offers, and the sizes, which PictureSizing asks
        break;
    }
}

void frmMain::ImportImageFile(const QString &path)
{
    m_import->ImportImageFile(path);
}

void frmMain::ImportImage(const GreyImage &image)
{
    m_import->ImportImage(image);
}

void frmMain::InsertText()
{
    CommitStroke();
    // Off the module's size the text starts where the grid's menu was opened.
    const std::optional<Cell> at = IsModuleSize(m_grid.Size()) ? std::nullopt : std::optional(lbDot->MenuCell());
    InsertTextDialog dialog(m_grid, at, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_session.TakeDots("Text", dialog.Picture().AllDots());
}

void frmMain::Paste()
{
    m_incoming->Paste();
}

void frmMain::SendToModule()
{
    m_module->SendToModule();
}

void frmMain::TogglePlayOnModule()
{
    m_module->TogglePlayOnModule();
}

QString frmMain::OpenSetFilter()
{
    return SetWorkflow::OpenSetFilter();
}

void frmMain::OpenSetPaths(const QStringList &paths)
{
    m_sets->OpenSetPaths(paths);
}

void frmMain::OpenAtStart(const QString &path)
{
    OpenFile(path);
}

bool frmMain::SaveSetToFolder(const QString &folder)
{
    return m_sets->SaveSetToFolder(folder);
}

void frmMain::ShowTitle()
{
    const QString &set = m_sets->Named();
    const QString &picture = m_drawings->Named();
    const QString &named = m_session.HoldsSet() || picture.isEmpty() ? set : picture;
    const bool clean = m_session.IsClean();
    // Qt's [*] marks unsaved work; with nothing named or changed the title is the program's alone.
    if (named.isEmpty())
        setWindowTitle(clean ? kTitle : kTitle + QStringLiteral("[*]"));
    else
        setWindowTitle(QFileInfo(named).fileName() + QStringLiteral("[*] - ") + kTitle);
    setWindowModified(!clean);
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    m_incoming->DragEnter(event);
}

void frmMain::dropEvent(QDropEvent *event)
{
    m_incoming->Drop(event);
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
    if (m_docks->Show(IsModuleSize(m_session.Grid().Size()), m_session.HoldsSet()))
        SetTabOrder();
    m_bars->Show(); // first, so that the room made for a larger picture counts the bars
    m_canvas->Show();
    txtData->ShowStale(m_session.CodeIsStale());
    m_menu->ShowStates(m_module->IsPlaying());
    m_panel->Show();
}

void frmMain::ShowPicture(const DotGrid &picture)
{
    const LcdType type = picture.nLCDType();
    if (type != m_grid.nLCDType()) {
        optType[static_cast<std::size_t>(LcdTypeValue(type))]->setChecked(true);
        lbDot->SetLayout(type); // the layout first, then the type is recorded
        m_grid.SetLCDType(type);
    }
    Frame2->setEnabled(IsModuleSize(picture.Size())); // any other size runs along rows, whatever the type
    if (picture.Size() != m_grid.Size()) {
        m_grid.SetAllDots(picture.AllDots());
        lbDot->RefreshSize();
        return;
    }
    std::vector<int> changed;
    for (int dot = 0; dot < picture.Size().DotCount(); ++dot) {
        if (picture.State(dot) != m_grid.State(dot)) {
            m_grid.SetDot(dot, picture.State(dot));
            changed.push_back(dot);
        }
    }
    lbDot->RefreshDots(changed);
}

void frmMain::tbarMain_ButtonClick(const QString &key)
{
    // Each button is a command of the menu bar's as well, its key the command's name in lower case.
    for (const CommandId id :
         {CommandId::New, CommandId::Open, CommandId::Save, CommandId::Run, CommandId::Exit, CommandId::About}) {
        if (key == FromUtf8(CommandName(id)).toLower())
            Perform(id);
    }
}

void frmMain::cmdCopy_Click()
{
    m_copy->CopyBox();
}

void frmMain::CopyByKey()
{
    m_copy->CopyByKey();
}

void frmMain::CopyAsCArray()
{
    m_copy->CopyAsCArray();
}

void frmMain::New()
{
    m_drawings->Forget(); // the clear picture is no file's yet
    m_session.New();
    txtData->SetText(QString());
}

void frmMain::Open()
{
    m_drawings->Open();
}

bool frmMain::Save()
{
    return m_drawings->Save();
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
        return set ? m_sets->SaveSet() : Save();
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
    m_drawings->OpenFile(szFilePath);
}

bool frmMain::SaveFile(const QString &szFilePath)
{
    return m_drawings->SaveFile(szFilePath);
}
