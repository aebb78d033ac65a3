#pragma once

#include "core/session/EditSession.h"

#include <QObject>

class CommandMenu;
class DotGridView;
class QLabel;
class QMainWindow;
class QToolBar;
class QWidget;

// The main window's bars about a canvas of any size but the module's: the
// tools as a tool bar of the menus' own actions, the active one pressed and
// its key in its tip, and a status bar with the pointer's cell, the picture's
// size, the zoom, the tool and the display previewed. The module's 16 x 16 window stays as designed, without them.
class CanvasBars final : public QObject {
    Q_OBJECT

public:
    CanvasBars(const tessaldo::EditSession &session, const CommandMenu &menu, DotGridView *view, QMainWindow *window);

    void Show();
    // The tools' buttons in the tab order, before `next`.
    void ChainTabOrder(QWidget *next) const;

private:
    void ShowZoom();

    const tessaldo::EditSession &m_session;
    DotGridView *m_view;
    QMainWindow *m_window;
    QToolBar *m_tools;
    QLabel *m_pointer;
    QLabel *m_size;
    QLabel *m_zoom;
    QLabel *m_tool;
    QLabel *m_display;
};
