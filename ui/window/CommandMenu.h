#pragma once

#include "core/session/EditSession.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPoint>

#include <functional>
#include <map>
#include <string_view>

class IncomingRouter;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The grid's menu and the window's menu bar: every command the window offers,
// one action each, in the core's order and submenus, with its keys and the
// platform's own. A command chosen is handed to `perform`.
class CommandMenu final : public QObject {
    Q_OBJECT

public:
    // Grid-only keys answer on `grid`, the others anywhere in `window`.
    CommandMenu(const tessaldo::EditSession &session, const IncomingRouter &incoming, QWidget *window, QWidget *grid,
                std::function<void(tessaldo::CommandId)> perform);

    QMenu *Menu() const { return m_gridMenu; }
    QMenu *SetMenu() const { return m_setMenu; }
    QAction *Action(tessaldo::CommandId id) const { return m_actions.at(id); }
    // File, Edit, View, Picture, Tools and Help, holding the grid menu's actions and the tool bar's.
    void FillMenuBar(QMenuBar *bar);
    // Enabled and checked as the session says; what plays on the module can always be stopped.
    void ShowStates(bool modulePlaying);
    void Popup(QPoint globalPos);

private:
    // The menu a command stands in, made the first time one of its commands comes.
    QMenu *MenuFor(const tessaldo::EditorCommand &command);
    QAction *AddAction(const tessaldo::EditorCommand &command);
    // The table's keys and the platform's, less those the platform gives another command.
    QList<QKeySequence> KeysOf(const tessaldo::EditorCommand &command) const;
    // The menu says whether there is anything to paste; the key stays live and finds out itself.
    void LookUpPasteAsShown(QMenu *menu);
    // The forms of the C array are one choice, and the tools another: marked as such, and the chosen one is not
    // unchosen by a click.
    void GroupArrayForms();

    const tessaldo::EditSession &m_session;
    const IncomingRouter &m_incoming;
    QWidget *m_window;
    QWidget *m_grid;
    std::function<void(tessaldo::CommandId)> m_perform;
    QMenu *m_gridMenu = nullptr;
    QMenu *m_setMenu = nullptr;
    std::map<std::string_view, QMenu *> m_submenus; // by caption
    std::map<tessaldo::CommandId, QAction *> m_actions;
    QList<QKeySequence> m_platformKeys; // of every command
};
