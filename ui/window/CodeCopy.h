#pragma once

#include "core/session/EditSession.h"
#include "ui/files/Clipboard.h"

class CodeTextBox;
class QPushButton;
class QString;
class QWidget;

// The code onto the clipboard: the copy button's move of the code box's text,
// Ctrl+C's of the picture's own code, and the C array of the grid's menu.
class CodeCopy {
public:
    CodeCopy(tessaldo::EditSession &session, Clipboard &clipboard, CodeTextBox *txtData, QPushButton *cmdCopy,
             QWidget *window);

    // The button's move of the box's text; an empty box leaves the clipboard as it is, and says so.
    void CopyBox();
    // What the copy button does, but the picture's own code, run first, where
    // the box's is stale, and nothing touched where it is empty.
    void CopyByKey();
    // The picture as a C array named "picture"; the code box is left alone.
    void CopyAsCArray();

private:
    // `text` onto the emptied clipboard, and out of the code box once the clipboard has it.
    bool MoveToClipboard(const QString &text);

    tessaldo::EditSession &m_session;
    Clipboard &m_clipboard;
    CodeTextBox *m_txtData;
    QPushButton *m_cmdCopy;
    QWidget *m_window;
};
