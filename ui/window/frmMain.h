#pragma once

#include "core/model/DotGrid.h"
#include "core/model/Transform.h"
#include "core/session/EditSession.h"
#include "image/PictureImage.h"
#include "ui/dialogs/CommonDialog.h"
#include "ui/dialogs/SaveChangesQuestion.h"
#include "ui/files/Clipboard.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CanvasBars;
class CanvasTools;
class CodeCopy;
class CodeTextBox;
class CommandMenu;
class DisplayPreviewPanel;
class DotGridView;
class DrawingFiles;
class FormDocks;
class FontWorkflow;
class ImageImport;
class IncomingRouter;
class ModuleSending;
class PictureQuestions;
class PictureSizing;
class QCloseEvent;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;
class SetPanel;
class SetWorkflow;
class Toolbar;

// The main window: under its menu bar, the form as designed (toolbar, LCD type
// options, dot grid, code box and copy button), and beside them the strip of
// the set's pictures while there is more than one. It draws the core's editing
// session and turns its events into calls on it; every rule is the core's. The
// set's files, imports, the module and what comes in by paste or drop each have
// a class of their own, wired here.
class frmMain final : public QMainWindow {
    Q_OBJECT

public:
    // The dialog, clipboard and question default to the system's own.
    explicit frmMain(std::unique_ptr<CommonDialog> dlgBox = nullptr, std::unique_ptr<Clipboard> clipboard = nullptr,
                     std::unique_ptr<SaveChangesQuestion> saveChanges = nullptr, QWidget *parent = nullptr);
    ~frmMain() override;

    const tessaldo::DotGrid &Grid() const { return m_grid; }
    const tessaldo::EditSession &Session() const { return m_session; }
    QMenu *GridMenu() const;
    FontWorkflow &Fonts() const { return *m_fonts; }

    // The work of Open and Save without the dialog; failures are shown to the user.
    void OpenFile(const QString &szFilePath);
    bool SaveFile(const QString &szFilePath);
    // The work of "Import Image…" without the file dialog: the image is
    // previewed in the import dialog, and OK makes it one step.
    void ImportImageFile(const QString &path);
    void ImportImage(const tessaldo::GreyImage &image);
    // The file named on the command line: a header or C source opens as a set, anything else as Open opens it.
    void OpenAtStart(const QString &path);
    // The work of "Open Set…" and "Save Set as Folder…" without the dialog.
    void OpenSetPaths(const QStringList &paths);
    static QString OpenSetFilter();
    bool SaveSetToFolder(const QString &folder);

public slots:
    void lbDot_Click(int Index);
    // A drag over the dots sets each one it crosses to the stroke's state.
    void lbDot_Paint(int Index, tessaldo::DotState state);
    void optType_Click(int Index);
    void tbarMain_ButtonClick(const QString &key);
    void cmdCopy_Click();
    // Ctrl+C: what the copy button does, but the picture's own code, run
    // first, where the box's is stale, and nothing touched where it is empty.
    void CopyByKey();
    void Undo();
    void Redo();
    void ApplyTransform(tessaldo::Transform transform);
    // An image on the clipboard, an image or drawing file named there, or
    // code that reads as a picture.
    void Paste();
    // The picture as a C array named "picture", in the form chosen in the grid's
    // menu; the code box is left alone.
    void CopyAsCArray();
    // "Insert Text…": a line of text from a font, previewed; OK makes it one step.
    void InsertText();
    void SendToModule();
    // "Play on Module…": plays the set at its delays through the port "Send to Module…" last used, or stops.
    void TogglePlayOnModule();

protected:
    // Closing, or Exit, first asks whether to save a picture that would be lost.
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildToolbar();
    void BuildTypeOptions();
    void BuildDotPanel();
    void BuildCodeBox();
    void BuildGridMenu();
    // The parts that carry out the window's work, and what each tells the window.
    void BuildWorkflows();
    // A command of the grid's menu: the window carries out what needs a dialog or the clipboard.
    void Perform(tessaldo::CommandId id);
    void SetTabOrder();

    void New();
    void Open();
    // False when the dialog was cancelled or the file could not be written.
    bool Save();
    void Run();
    void Exit();
    void About();
    // The title names the set's header while there is one, else the drawing
    // file last opened or saved, and marks work not saved since.
    void ShowTitle();
    // True when nothing unsaved is left to lose: the session is clean, or the
    // user saved the picture or chose to discard it.
    bool NothingUnsavedIsLost();

    // Ends the drag that is painting, if any, as one step.
    void CommitStroke();
    // Brings the window to the session after each change it announces.
    void ShowSession();
    // Brings the window to `picture`: the type with its option and layout first, then the dots.
    void ShowPicture(const tessaldo::DotGrid &picture);

    tessaldo::EditSession m_session;
    tessaldo::DotGrid m_grid; // the session's picture as the grid draws it
    std::unique_ptr<CommonDialog> m_dlgBox;
    std::unique_ptr<Clipboard> m_clipboard;
    std::unique_ptr<SaveChangesQuestion> m_saveChanges;
    std::unique_ptr<CodeCopy> m_copy;
    std::unique_ptr<DrawingFiles> m_drawings;
    std::unique_ptr<ModuleSending> m_module;
    std::unique_ptr<ImageImport> m_import;
    std::unique_ptr<SetWorkflow> m_sets;
    std::unique_ptr<FontWorkflow> m_fonts;
    std::unique_ptr<PictureQuestions> m_questions;
    std::unique_ptr<IncomingRouter> m_incoming;
    std::unique_ptr<CommandMenu> m_menu;
    std::unique_ptr<SetPanel> m_panel;
    std::unique_ptr<PictureSizing> m_sizing;
    std::unique_ptr<CanvasTools> m_canvas;

    CanvasBars *m_bars = nullptr;
    FormDocks *m_docks = nullptr;
    QWidget *m_form = nullptr; // the client area below the menu bar, where the controls stand as designed
    Toolbar *tbarMain = nullptr;
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, tessaldo::kLcdTypeCount> optType{};
    QGroupBox *Frame1 = nullptr;
    DotGridView *lbDot = nullptr;
    DisplayPreviewPanel *m_preview = nullptr;
    CodeTextBox *txtData = nullptr;
    QPushButton *cmdCopy = nullptr;
};
