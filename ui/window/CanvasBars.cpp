#include "ui/window/CanvasBars.h"

#include "core/model/Displays.h"
#include "core/session/Texts.h"
#include "ui/canvas/DotGridView.h"
#include "ui/common/Utf8.h"
#include "ui/window/CommandMenu.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include <string>

using namespace tessaldo;

namespace {

QLabel *AddStatus(QStatusBar *bar, const QString &name)
{
    auto *label = new QLabel(bar);
    label->setObjectName(name);
    bar->addPermanentWidget(label);
    return label;
}

} // namespace

CanvasBars::CanvasBars(const EditSession &session, const CommandMenu &menu, DotGridView *view, QMainWindow *window)
    : QObject(window),
      m_session(session),
      m_view(view),
      m_window(window),
      m_tools(window->addToolBar(FromUtf8(TopMenuCaption(TopMenu::Tools)))),
      m_pointer(AddStatus(window->statusBar(), QStringLiteral("statusPointer"))),
      m_size(AddStatus(window->statusBar(), QStringLiteral("statusSize"))),
      m_zoom(AddStatus(window->statusBar(), QStringLiteral("statusZoom"))),
      m_tool(AddStatus(window->statusBar(), QStringLiteral("statusTool"))),
      m_display(AddStatus(window->statusBar(), QStringLiteral("statusDisplay")))
{
    m_tools->setObjectName(QStringLiteral("toolsBar"));
    for (const EditorCommand &command : EditorCommands()) {
        if (command.menu != TopMenu::Tools)
            continue;
        QAction *action = menu.Action(command.id);
        if (!action->shortcut().isEmpty())
            action->setToolTip(FromUtf8(
                FilledText(TextId::CommandKeyTip,
                           {command.caption, action->shortcut().toString(QKeySequence::NativeText).toStdString()})));
        m_tools->addAction(action);
        m_tools->widgetForAction(action)->setFocusPolicy(Qt::TabFocus); // every tool can be chosen from the keyboard
    }
    m_tools->setVisible(false);
    window->statusBar()->setVisible(false);
    connect(view, &DotGridView::PointerMoved, m_pointer, &QLabel::setText);
    connect(view, &DotGridView::Zoomed, this, &CanvasBars::ShowZoom);
}

void CanvasBars::Show()
{
    const PictureSize size = m_session.Grid().Size();
    const bool shown = !IsModuleSize(size);
    if (shown != m_tools->isVisibleTo(m_window)) {
        m_tools->setVisible(shown);
        m_window->statusBar()->setVisible(shown);
        m_window->layout()->activate(); // the window's smallest size takes the bars at once
    }
    m_size->setText(FromUtf8(PictureSizeText(size)));
    for (const EditorCommand &command : EditorCommands()) {
        if (command.tool == m_session.CurrentTool())
            m_tool->setText(FromUtf8(command.caption));
    }
    m_display->setText(FromUtf8(Displays()[m_session.PreviewDisplay()].name));
    ShowZoom();
}

void CanvasBars::ChainTabOrder(QWidget *next) const
{
    const QList<QAction *> tools = m_tools->actions();
    for (qsizetype at = 1; at < tools.size(); ++at)
        QWidget::setTabOrder(m_tools->widgetForAction(tools[at - 1]), m_tools->widgetForAction(tools[at]));
    QWidget::setTabOrder(m_tools->widgetForAction(tools.constLast()), next);
}

void CanvasBars::ShowZoom()
{
    const Zoom zoom = m_view->CurrentZoom();
    constexpr int kWhole = 100;
    const int percent = (zoom.cellPixels * kWhole + zoom.dotsPerPixel / 2) / zoom.dotsPerPixel;
    m_zoom->setText(FromUtf8(FilledText(TextId::ZoomPercent, {std::to_string(percent)})));
}
