#include "CommandMenu.h"

#include "core/session/Texts.h"

#include "IncomingRouter.h"
#include "Utf8.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include <utility>

using namespace tessaldo;

CommandMenu::CommandMenu(const EditSession &session, const IncomingRouter &incoming, QWidget *window, QWidget *grid,
                         std::function<void(CommandId)> perform)
    : m_session(session),
      m_incoming(incoming),
      m_window(window),
      m_grid(grid),
      m_perform(std::move(perform)),
      m_gridMenu(new QMenu(window))
{
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    for (const EditorCommand &command : EditorCommands()) {
        if (command.OfferedBy(Face::Window))
            m_actions[command.id] = AddAction(command, MenuFor(command));
    }
    LookUpPasteAsShown();
    GroupArrayForms();
    m_setMenu = m_submenus.at(CommandWithId(CommandId::AddPicture).submenu);
    m_setMenu->setObjectName(QStringLiteral("setMenu"));
}

QAction *CommandMenu::AddAction(const EditorCommand &command, QMenu *menu)
{
    auto *action = new QAction(FromUtf8(command.caption), m_window);
    QList<QKeySequence> keys;
    for (const std::string_view key : command.keys) {
        if (!key.empty())
            keys << QKeySequence::fromString(FromUtf8(key), QKeySequence::PortableText);
    }
    action->setShortcuts(keys);
    action->setCheckable(command.checkable);
    connect(action, &QAction::triggered, this, [this, id = command.id] { m_perform(id); });
    menu->addAction(action);
    if (keys.isEmpty())
        return action;
    // A grid-only key leaves the other controls theirs; undo and redo answer
    // anywhere but in the code box, which claims those keys before the window sees them.
    if (command.gridOnly) {
        action->setShortcutContext(Qt::WidgetShortcut);
        m_grid->addAction(action);
    } else {
        m_window->addAction(action);
    }
    return action;
}

QMenu *CommandMenu::MenuFor(const EditorCommand &command)
{
    if (command.submenu.empty()) {
        if (command.startsGroup)
            m_gridMenu->addSeparator();
        return m_gridMenu;
    }
    // Each submenu at the place of its first command, whose line goes above the submenu.
    QMenu *&submenu = m_submenus[command.submenu];
    if (submenu == nullptr) {
        if (command.startsGroup)
            m_gridMenu->addSeparator();
        submenu = m_gridMenu->addMenu(FromUtf8(command.submenu));
    } else if (command.startsGroup) {
        submenu->addSeparator();
    }
    return submenu;
}

void CommandMenu::LookUpPasteAsShown()
{
    QAction *paste = m_actions.at(CommandId::Paste);
    connect(m_gridMenu, &QMenu::aboutToShow, this,
            [this, paste] { paste->setEnabled(m_session.IsEnabled(CommandId::Paste, m_incoming.ClipboardTakes())); });
    connect(m_gridMenu, &QMenu::aboutToHide, paste, [paste] { paste->setEnabled(true); });
}

void CommandMenu::GroupArrayForms()
{
    auto *arrayForms = new QActionGroup(m_window);
    auto *tools = new QActionGroup(m_window); // one tool at a time, as the forms
    for (const EditorCommand &command : EditorCommands()) {
        if (command.arrayForm)
            arrayForms->addAction(m_actions.at(command.id));
        if (command.tool)
            tools->addAction(m_actions.at(command.id));
    }
}

void CommandMenu::ShowStates(bool modulePlaying)
{
    for (const EditorCommand &command : EditorCommands()) {
        // Paste is looked up on the clipboard as the menu opens.
        if (command.id == CommandId::Paste || !command.OfferedBy(Face::Window))
            continue;
        QAction *action = m_actions.at(command.id);
        const bool stopsModule = command.id == CommandId::PlayOnModule && modulePlaying;
        action->setEnabled(stopsModule || m_session.IsEnabled(command.id, true));
        action->setChecked(command.checkable && m_session.IsChecked(command.id));
    }
    m_actions.at(CommandId::Play)->setIconText(FromUtf8(Text(m_session.IsPlaying() ? TextId::Stop : TextId::Play)));
}

void CommandMenu::Popup(QPoint globalPos)
{
    // Some platforms send both the key and their own menu request for it.
    if (!m_gridMenu->isVisible())
        m_gridMenu->popup(globalPos);
}
