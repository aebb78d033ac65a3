#pragma once

#include "core/session/EditSession.h"

#include <QObject>
#include <QSize>

class Clipboard;
class DotGridView;
class QLabel;
class WindowCorners;

// The canvas between the grid and the session: the tools' drags and clicks
// made into the session's calls, the tool and selection it holds shown on
// the grid, the pointer's cell in a label under it, and the commands the window
// carries out on the canvas itself: the zoom and the selection's clipboard.
class CanvasTools final : public QObject {
    Q_OBJECT

public:
    CanvasTools(tessaldo::EditSession &session, Clipboard &clipboard, DotGridView *view);

    // The grid's frame, the grid and the label take the room the window gains.
    void Anchor(WindowCorners &corners) const;

    void Show();
    // False for a command that is not the canvas's.
    bool Perform(tessaldo::CommandId id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CopySelection();
    void ShowPointerPlace();
    // The window made larger for a picture that has just taken another size,
    // or as designed again for the module's, where the user left it as it opened.
    void MakeRoom();

    tessaldo::EditSession &m_session;
    Clipboard &m_clipboard;
    DotGridView *m_view;
    QLabel *m_pointer;
    tessaldo::PictureSize m_shownSize;
    QSize m_roomMade; // the window's size as the last room made left it
};
