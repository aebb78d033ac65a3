#include "ui/set/SetPanel.h"

#include "ui/common/Utf8.h"
#include "ui/window/WindowCorners.h"

#include "core/session/Texts.h"

#include "ui/set/PictureStrip.h"
#include "ui/window/CommandMenu.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <utility>

using namespace tessaldo;

namespace {

constexpr int kStripWidth = 150;
constexpr int kStripMargin = 6;
constexpr int kButtonHeight = 24;
constexpr int kPanelWidth = kStripWidth - kStripMargin;

// The buttons' two rows stand at the foot of the window as designed, the strip above them.
int ButtonsTop(QSize designed)
{
    return designed.height() - 2 * kButtonHeight - kStripMargin;
}

} // namespace

SetPanel::SetPanel(EditSession &session, const CommandMenu &menu, QSize designed, QWidget *window)
    : m_session(session),
      m_designed(designed),
      m_window(window)
{
    BuildStrip(menu);
    BuildButtons(menu);
    m_playTimer.setSingleShot(true);
    connect(&m_playTimer, &QTimer::timeout, this, [this] { m_session.ShowNextFrame(); });
}

void SetPanel::BuildStrip(const CommandMenu &menu)
{
    m_strip = new PictureStrip(m_session.Doc(), m_window);
    m_strip->setObjectName(QStringLiteral("pictureStrip"));
    m_strip->setGeometry(m_designed.width(), kStripMargin, kPanelWidth, ButtonsTop(m_designed) - 2 * kStripMargin);
    // The set's keys answer in the strip as they do on the grid.
    for (const EditorCommand &command : EditorCommands()) {
        if (command.gridOnly && !command.submenu.empty())
            m_strip->addAction(menu.Action(command.id));
    }
    connect(m_strip, &PictureStrip::PictureChosen, this, [this](std::size_t index) { m_session.Select(index); });
    connect(m_strip, &PictureStrip::PictureMoved, this,
            [this](std::size_t from, std::size_t to) { m_session.MovePicture(from, to); });
    connect(m_strip, &PictureStrip::customContextMenuRequested, this,
            [this, setMenu = menu.SetMenu()](QPoint at) { setMenu->popup(m_strip->viewport()->mapToGlobal(at)); });
}

void SetPanel::BuildButtons(const CommandMenu &menu)
{
    // Captions short enough for the buttons; the menu keeps the commands' own.
    const std::array<std::pair<CommandId, QString>, 5> buttons = {
        {{CommandId::AddPicture, QStringLiteral("Add")},
         {CommandId::CopyPicture, QStringLiteral("Copy")},
         {CommandId::DeletePicture, QStringLiteral("Delete")},
         {CommandId::Play, FromUtf8(Text(TextId::Play))},
         {CommandId::OnionSkin, QStringLiteral("Onion Skin")}}};
    const std::array<int, 5> rows = {0, 0, 0, 1, 1};
    const std::array<int, 2> perRow = {3, 2};
    std::array<int, 2> placed = {0, 0};
    const int buttonsTop = ButtonsTop(m_designed);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto row = static_cast<std::size_t>(rows[i]);
        QAction *action = menu.Action(buttons[i].first);
        action->setIconText(buttons[i].second);
        auto *button = new QToolButton(m_window);
        button->setObjectName(QStringLiteral("setButton_%1").arg(buttons[i].second));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        const int buttonWidth = kPanelWidth / perRow[row];
        button->setGeometry(m_designed.width() + placed[row] * buttonWidth, buttonsTop + rows[i] * kButtonHeight,
                            buttonWidth, kButtonHeight);
        ++placed[row];
        m_setButtons << button;
    }
}

void SetPanel::Show()
{
    const bool set = m_session.HoldsSet();
    // Beside the form as designed, the strip's room is added to the window
    // however large it is, and the form is never smaller than designed; docked, the dock has room of its own.
    const bool room = set && m_strip->parentWidget() == m_window;
    if (room != (m_window->minimumWidth() > m_designed.width())) {
        QWidget *window = m_window->window();
        const int width = window->width() + (room ? kStripWidth : -kStripWidth);
        m_window->setMinimumSize(m_designed + QSize(room ? kStripWidth : 0, 0));
        window->layout()->activate(); // the window's smallest size follows the form's at once
        window->resize(std::max(width, window->minimumWidth()), window->height());
    }
    m_strip->setVisible(set);
    for (QWidget *button : m_setButtons)
        button->setVisible(set);
    if (set)
        m_strip->Refresh();
    KeepPlaying();
}

QList<QWidget *> SetPanel::Widgets() const
{
    return QList<QWidget *>{m_strip} + m_setButtons;
}

void SetPanel::Anchor(WindowCorners &corners) const
{
    corners.Add(m_strip, WindowCorners::Right | WindowCorners::Taller);
    for (QWidget *button : m_setButtons)
        corners.Add(button, WindowCorners::Right | WindowCorners::Down);
}

void SetPanel::KeepPlaying()
{
    if (!m_session.IsPlaying())
        m_playTimer.stop();
    else if (!m_playTimer.isActive())
        m_playTimer.start(m_session.ShownMs());
}

void SetPanel::ChainTabOrder(QWidget *previous) const
{
    QWidget::setTabOrder(previous, m_strip);
    previous = m_strip;
    for (QWidget *button : m_setButtons) {
        QWidget::setTabOrder(previous, button);
        previous = button;
    }
}
