#include "ui/window/CodeCopy.h"

#include "core/session/ProgramTexts.h"
#include "ui/common/Utf8.h"
#include "ui/window/CodeTextBox.h"
#include "ui/window/WindowNotices.h"

#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QToolTip>

using namespace tessaldo;

namespace {

// Long enough to read the sentence twice.
constexpr int kCopiedShownMs = 6000;

} // namespace

CodeCopy::CodeCopy(EditSession &session, Clipboard &clipboard, CodeTextBox *txtData, QPushButton *cmdCopy,
                   QWidget *window)
    : m_session(session),
      m_clipboard(clipboard),
      m_txtData(txtData),
      m_cmdCopy(cmdCopy),
      m_window(window)
{
}

void CodeCopy::CopyBox()
{
    // A second press would put the emptied box on the clipboard, over the code the first one moved there.
    const QString text = m_txtData->Text();
    if (text.isEmpty())
        Tell(m_window, FromUtf8(kEmptyCodeBoxNote));
    else
        MoveToClipboard(text);
}

bool CodeCopy::MoveToClipboard(const QString &text)
{
    m_clipboard.Clear();
    m_clipboard.SetText(text);
    if (!m_clipboard.HasText()) {
        Tell(m_window, FromUtf8(kNoTextOnClipboard));
        return false;
    }
    m_txtData->SetText(QString());
    m_session.ForgetCode();
    return true;
}

void CodeCopy::CopyByKey()
{
    const EditSession::KeyCopy copy = m_session.CopyByKey(m_txtData->Text().toStdString());
    const QString note = FromUtf8(copy.note);
    if (copy.text.empty()) {
        Tell(m_window, note);
        return;
    }
    const QString text = QString::fromStdString(copy.text);
    // Run went first: the box shows its code, which stays there should the clipboard not take it.
    m_txtData->SetText(text);
    if (MoveToClipboard(text) && !note.isEmpty())
        QToolTip::showText(m_cmdCopy->mapToGlobal(m_cmdCopy->rect().center()), note, m_cmdCopy);
}

void CodeCopy::CopyAsCArray()
{
    m_clipboard.SetText(QString::fromStdString(m_session.ArrayText()));
    // Said in the status bar where there is one; the module's window, which has none, says it by the copy button.
    const QString copied = FromUtf8(m_session.CopiedText());
    auto *main = qobject_cast<QMainWindow *>(m_window);
    if (main != nullptr && main->statusBar()->isVisible())
        main->statusBar()->showMessage(copied, kCopiedShownMs);
    else
        QToolTip::showText(m_cmdCopy->mapToGlobal(m_cmdCopy->rect().center()), copied, m_cmdCopy);
}
