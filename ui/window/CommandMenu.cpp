#include "ui/window/CommandMenu.h"

#include "core/session/Texts.h"

#include "ui/common/Utf8.h"
#include "ui/files/IncomingRouter.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QWidget>

#include <utility>

using namespace tessaldo;

namespace {

// The six menus in the width of the window as designed: the styles pad a
// menu bar's captions wider than a bar of short captions needs.
class NarrowMenuBarStyle final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        QSize needed = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem)
            needed.rwidth() -= kNarrowerBy;
        return needed;
    }

private:
    static constexpr int kNarrowerBy = 6;
};

// Qt's name for the platform's key the core names.
QKeySequence::StandardKey QtKey(StandardKey key)
{
    switch (key) {
    case StandardKey::New:
        return QKeySequence::New;
    case StandardKey::Open:
        return QKeySequence::Open;
    case StandardKey::Save:
        return QKeySequence::Save;
    case StandardKey::SaveAs:
        return QKeySequence::SaveAs;
    case StandardKey::Undo:
        return QKeySequence::Undo;
    case StandardKey::Redo:
        return QKeySequence::Redo;
    case StandardKey::ZoomIn:
        return QKeySequence::ZoomIn;
    case StandardKey::ZoomOut:
        return QKeySequence::ZoomOut;
    case StandardKey::SelectAll:
        return QKeySequence::SelectAll;
    case StandardKey::Paste:
        return QKeySequence::Paste;
    case StandardKey::Delete:
        return QKeySequence::Delete;
    case StandardKey::Quit:
        return QKeySequence::Quit;
    case StandardKey::None:
        break;
    }
    return QKeySequence::UnknownKey;
}

// The platform's keys of `key`, or the usual one where the platform names none.
QList<QKeySequence> PlatformKeys(StandardKey key)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QtKey(key));
    if (keys.isEmpty() && key != StandardKey::None)
        keys << QKeySequence::fromString(FromUtf8(UsualKey(key)), QKeySequence::PortableText);
    return keys;
}

} // namespace

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
    for (const EditorCommand &command : EditorCommands())
        m_platformKeys << PlatformKeys(command.standardKey);
    for (const EditorCommand &command : EditorCommands()) {
        if (!command.OfferedBy(Face::Window))
            continue;
        m_actions[command.id] = AddAction(command);
        if (command.InGridMenu())
            MenuFor(command)->addAction(m_actions[command.id]);
    }
    LookUpPasteAsShown(m_gridMenu);
    GroupArrayForms();
    m_setMenu = m_submenus.at(CommandWithId(CommandId::AddPicture).submenu);
    m_setMenu->setObjectName(QStringLiteral("setMenu"));
}

QList<QKeySequence> CommandMenu::KeysOf(const EditorCommand &command) const
{
    // The table's first key stays the one the menu shows; where the platform
    // gives a key to another command (Ctrl+Shift+S is Save As), the platform's wins.
    const QList<QKeySequence> own = PlatformKeys(command.standardKey);
    QList<QKeySequence> keys;
    for (const std::string_view key : command.keys) {
        const QKeySequence sequence = QKeySequence::fromString(FromUtf8(key), QKeySequence::PortableText);
        if (!key.empty() && (own.contains(sequence) || !m_platformKeys.contains(sequence)))
            keys << sequence;
    }
    for (const QKeySequence &sequence : own) {
        if (!keys.contains(sequence))
            keys << sequence;
    }
    return keys;
}

QAction *CommandMenu::AddAction(const EditorCommand &command)
{
    auto *action = new QAction(FromUtf8(command.caption), m_window);
    const QList<QKeySequence> keys = KeysOf(command);
    action->setShortcuts(keys);
    action->setCheckable(command.checkable);
    connect(action, &QAction::triggered, this, [this, id = command.id] { m_perform(id); });
    if (keys.isEmpty())
        return action;
    // A grid-only key leaves the other controls theirs; undo and redo answer
    // anywhere but in the code box, which claims those keys before the window
    // sees them. The zoom's keys mean nothing to the other controls and answer anywhere.
    if (command.gridOnly && command.menu != TopMenu::View) {
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

void CommandMenu::LookUpPasteAsShown(QMenu *menu)
{
    QAction *paste = m_actions.at(CommandId::Paste);
    connect(menu, &QMenu::aboutToShow, this,
            [this, paste] { paste->setEnabled(m_session.IsEnabled(CommandId::Paste, m_incoming.ClipboardTakes())); });
    connect(menu, &QMenu::aboutToHide, paste, [paste] { paste->setEnabled(true); });
}

void CommandMenu::FillMenuBar(QMenuBar *bar)
{
    auto *style = new NarrowMenuBarStyle;
    style->setParent(bar); // the bar does not own the style it is given
    bar->setStyle(style);
    for (const TopMenu top : kTopMenus) {
        // Alt and the first letter open it, as in any window; the page shows the core's captions as they are.
        QMenu *menu = bar->addMenu(QLatin1Char('&') + FromUtf8(TopMenuCaption(top)));
        QMenu *arrayForms = nullptr;
        std::string_view group; // the submenu the command above stands in, in the grid's menu
        for (const EditorCommand &command : EditorCommands()) {
            if (command.menu != top || !command.OfferedBy(Face::Window))
                continue;
            // The forms are one choice, kept together; every other command stands in the menu itself.
            if (command.arrayForm) {
                if (arrayForms == nullptr)
                    arrayForms = menu->addMenu(FromUtf8(command.submenu));
                arrayForms->addAction(m_actions.at(command.id));
                continue;
            }
            if (!menu->isEmpty() && (command.startsGroup || command.submenu != group))
                menu->addSeparator();
            group = command.submenu;
            menu->addAction(m_actions.at(command.id));
        }
        if (top == CommandWithId(CommandId::Paste).menu)
            LookUpPasteAsShown(menu);
    }
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
