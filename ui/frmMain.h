#pragma once

#include "Clipboard.h"
#include "CommonDialog.h"
#include "ModulePlayer.h"
#include "PictureImage.h"
#include "SaveChangesQuestion.h"
#include "core/model/DotGrid.h"
#include "core/model/Transform.h"
#include "core/session/EditSession.h"
#include "core/session/Incoming.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CodeTextBox;
class DotGridView;
class QAction;
class QCloseEvent;
class QGroupBox;
class QMenu;
class QMimeData;
class PictureStrip;
class QPushButton;
class QRadioButton;
class Toolbar;

// The main window: toolbar, LCD type options, dot grid, code box and copy
// button, and beside them the strip of the set's pictures while there is
// more than one. It draws the core's editing session and turns its events into
// calls on it; every rule is the core's.
class frmMain final : public QWidget {
    Q_OBJECT

public:
    // The dialog, clipboard and question default to the system's own.
    explicit frmMain(std::unique_ptr<CommonDialog> dlgBox = nullptr, std::unique_ptr<Clipboard> clipboard = nullptr,
                     std::unique_ptr<SaveChangesQuestion> saveChanges = nullptr, QWidget *parent = nullptr);
    ~frmMain() override;

    const tessaldo::DotGrid &Grid() const { return m_grid; }
    const tessaldo::EditSession &Session() const { return m_session; }
    QMenu *GridMenu() const { return m_gridMenu; }

    // The work of Open and Save without the dialog; failures are shown to the user.
    void OpenFile(const QString &szFilePath);
    bool SaveFile(const QString &szFilePath);
    // The work of "Import Image…" without the file dialog: the image is
    // previewed in the import dialog, and OK makes it one step.
    void ImportImageFile(const QString &path);
    void ImportImage(const tessaldo::GreyImage &image);
    // The frames previewed in the import dialog (one for a still image); OK takes the frame shown.
    void ImportFrames(std::vector<tessaldo::FrameGreys> frames, const QString &stem);
    // The file named on the command line: a header or C source opens as a set, anything else as Open opens it.
    void OpenAtStart(const QString &path);
    // The work of "Open Set…" without the dialog: a header or any C source, an
    // image (an animation's frames with their delays), drawing files, or a folder of them.
    void OpenSetPaths(const QStringList &paths);
    // Open Set's filter: every header and source the core reads as a set, GIF animations and drawing files.
    static QString OpenSetFilter();
    // The work of saving the set without the dialogs; false, after saying why, when it was not saved.
    bool SaveSetFile(const QString &path);
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
    // "Rename Picture…" and "Picture Delay…": asked until the core takes the answer or the user cancels.
    void AskPictureName();
    void AskPictureDelay();
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
    void BuildSetPanel();
    void BuildGridMenu();
    // The menu a command stands in, made the first time one of its commands comes.
    QMenu *MenuFor(const tessaldo::EditorCommand &command);
    QAction *AddGridAction(const tessaldo::EditorCommand &command, QMenu *menu);
    // A command of the grid's menu: the window carries out what needs a dialog or the clipboard.
    void Perform(tessaldo::CommandId id);
    void SetTabOrder();
    void CentreOnScreen();

    // The copy button's move: `text` onto the emptied clipboard, and out of the code box once the clipboard has it.
    bool MoveToClipboard(const QString &text);
    void New();
    void Open();
    // False when the dialog was cancelled or the file could not be written.
    bool Save();
    void Run();
    void Exit();
    void About();
    // Readies the dialog the way Open and Save both need it.
    void PrepareDialog(const QString &title);
    void OpenImage();
    void OpenSet();
    // The set's own header, or a name asked for the first time or when the header may not be written over.
    bool SaveSet();
    // Asks for a name until the set is saved or the user cancels.
    bool SaveSetAs();
    void SaveSetAsFolder();
    // An image's frames as a set, made as the import dialog makes dots; false after saying why not.
    bool ReadImageSet(const QString &path, tessaldo::Document &set);
    // The title names the set's header while there is one, else the drawing
    // file last opened or saved, and marks work not saved since.
    void ShowTitle();
    // What a drop or a paste brings, as the core routes it, with the image or file itself.
    void TakeIncoming(const tessaldo::Routed &routed, const QImage &image, const QString &file);
    // Values that do not say their layout: the user picks, for all of them, the
    // reading they are meant as, drawn in `type`; nullopt when they cancel.
    std::optional<tessaldo::BitLayout> AskLayout(const std::vector<tessaldo::LayoutChoice> &choices,
                                                 tessaldo::LcdType type);
    void Warn(const QString &message);
    // A note of the core's, where there is one.
    void SayIfAny(const std::string &note);
    // True when nothing unsaved is left to lose: the session is clean, or the
    // user saved the picture or chose to discard it.
    bool NothingUnsavedIsLost();
    // Opening a set replaces every picture: a set of more than one that was
    // never saved is asked about first.
    bool NoSetIsLost();

    // A dialog's picture as one step: its dots, in the grid's own type.
    void TakeDots(const char *caption, const tessaldo::DotGrid &picture);
    // Ends the drag that is painting, if any, as one step.
    void CommitStroke();
    // Brings the window to the session after each change it announces.
    void ShowSession();
    // Brings the window to `picture`: the type with its option and layout first, then the dots.
    void ShowPicture(const tessaldo::DotGrid &picture);
    // Enabled and checked as the session says.
    void ShowCommandStates();
    // The strip and its buttons beside the window while the set holds more than one picture.
    void ShowSetPanel();
    // The timer runs while the session plays, and shows the next picture after the shown one's delay.
    void KeepPlaying();

    tessaldo::EditSession m_session;
    tessaldo::DotGrid m_grid; // the session's picture as the grid draws it
    QMenu *m_gridMenu = nullptr;
    QMenu *m_setMenu = nullptr;
    std::map<std::string_view, QMenu *> m_submenus; // by caption
    std::map<tessaldo::CommandId, QAction *> m_actions;
    tessaldo::DotOptions m_importOptions; // as the last import left them
    QString m_sendPort;                   // as the last send left them
    QString m_setFile;                    // the header Save Set writes, empty before there is one
    QString m_setSource;       // the source the set was opened from when Save Set may not write it: named and offered
    QString m_pictureFile;     // the drawing file last opened or saved, empty before there is one
    std::string m_setFileText; // what it held when opened or saved: Save Set writes over nothing else
    int m_sendBaud = 0;
    QTimer m_playTimer;
    tessaldo::ModulePlayer m_onModule;
    std::unique_ptr<CommonDialog> m_dlgBox;
    std::unique_ptr<Clipboard> m_clipboard;
    std::unique_ptr<SaveChangesQuestion> m_saveChanges;

    Toolbar *tbarMain = nullptr;
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, tessaldo::kLcdTypeCount> optType{};
    QGroupBox *Frame1 = nullptr;
    DotGridView *lbDot = nullptr;
    CodeTextBox *txtData = nullptr;
    QPushButton *cmdCopy = nullptr;
    PictureStrip *m_strip = nullptr;
    QList<QWidget *> m_setButtons;
};
