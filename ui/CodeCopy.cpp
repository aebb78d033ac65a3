#include "CodeCopy.h"

#include "CodeTextBox.h"
#include "Utf8.h"
#include "WindowNotices.h"
#include "core/session/ProgramTexts.h"

#include <QPushButton>
#include <QToolTip>

using namespace tessaldo;

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
}
