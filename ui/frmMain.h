#pragma once

#include "Clipboard.h"
#include "CommonDialog.h"
#include "DotGrid.h"
#include "PictureImage.h"
#include "SaveChangesQuestion.h"
#include "Transform.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class CodeTextBox;
class DotGridView;
class QAction;
class QCloseEvent;
class QGroupBox;
class QMenu;
class QMimeData;
class QPushButton;
class QRadioButton;
class QUndoStack;
class Toolbar;

// The main window: toolbar, LCD type options, dot grid, code box and copy
// button. It owns the picture and hands every rule to the drawing core.
class frmMain final : public QWidget {
    Q_OBJECT

public:
    // The dialog, clipboard and question default to the system's own.
    explicit frmMain(std::unique_ptr<CommonDialog> dlgBox = nullptr, std::unique_ptr<Clipboard> clipboard = nullptr,
                     std::unique_ptr<SaveChangesQuestion> saveChanges = nullptr, QWidget *parent = nullptr);
    ~frmMain() override;

    // Steps kept in the history; the oldest go first.
    static constexpr int kHistorySteps = 10000;

    const tessaldo::DotGrid &Grid() const { return m_grid; }
    QUndoStack *History() const { return m_history; }
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

public slots:
    void lbDot_Click(int Index);
    // A drag over the dots sets each one it crosses to the stroke's state.
    void lbDot_Paint(int Index, tessaldo::DotState state);
    void optType_Click(int Index);
    void tbarMain_ButtonClick(const QString &key);
    void cmdCopy_Click();
    void Undo();
    void Redo();
    void ApplyTransform(tessaldo::Transform transform);
    // An image on the clipboard, an image or drawing file named there, or
    // code that reads as a picture.
    void Paste();
    // The picture as a C array named "picture"; the code box is left alone.
    void CopyAsCArray();
    // "Insert Text…": a line of text from a font, previewed; OK makes it one step.
    void InsertText();
    void SendToModule();

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
    void BuildHistory();
    void BuildGridMenu();
    QAction *AddGridAction(const QString &text, const QKeySequence &key, const std::function<void()> &trigger);
    void SetTabOrder();
    void CentreOnScreen();

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
    // What a drop or a paste brings: an image, or the file to import or open.
    void TakeIncoming(const QImage &image, const QString &file);
    void Warn(const QString &message);
    // True when nothing unsaved is left to lose: the picture is the clean one,
    // or the user saved it or chose to discard it.
    bool NothingUnsavedIsLost();

    // Every change of the picture goes through here as one step of the history.
    void Change(const QString &text, const std::function<void(tessaldo::DotGrid &)> &edit);
    // A dialog's picture as one step: its dots, in the grid's own type.
    void TakeDots(const QString &text, const tessaldo::DotGrid &picture);
    // Ends the drag that is painting, if any, as one step.
    void CommitStroke();
    // Brings the window to `picture`: the type with its option and layout first, then the dots.
    void ShowPicture(const tessaldo::DotGrid &picture);

    tessaldo::DotGrid m_grid;
    tessaldo::DotGrid m_cleanPicture;               // as last opened, saved or started with
    std::optional<tessaldo::DotGrid> m_strokeStart; // the picture before the drag that is painting
    QUndoStack *m_history = nullptr;
    QMenu *m_gridMenu = nullptr;
    QAction *m_paste = nullptr;
    tessaldo::DotOptions m_importOptions; // as the last import left them
    QString m_sendPort;                   // as the last send left them
    int m_sendBaud = 0;
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
};
