#include "ui/window/FormDocks.h"

#include "core/session/EditorCommands.h"
#include "ui/common/Utf8.h"
#include "ui/window/WindowCorners.h"

#include <QBoxLayout>
#include <QDockWidget>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QToolButton>

using namespace tessaldo;

namespace {

// `widgets` into `box`, the first stretched, the others at their own size.
void Fill(QBoxLayout *box, const QList<QWidget *> &widgets)
{
    for (QWidget *widget : widgets) {
        box->addWidget(widget, widget == widgets.constFirst() ? 1 : 0);
        widget->show();
    }
}

} // namespace

FormDocks::FormDocks(QMainWindow *window, QWidget *form, Parts parts, WindowCorners &corners)
    : QObject(window),
      m_window(window),
      m_form(form),
      m_parts(std::move(parts)),
      m_corners(corners),
      m_codeDock(
          Dock(QStringLiteral("codeDock"), FromUtf8(CommandWithId(CommandId::Run).caption), Qt::BottomDockWidgetArea)),
      m_stripDock(Dock(QStringLiteral("stripDock"), FromUtf8(CommandWithId(CommandId::AddPicture).submenu),
                       Qt::LeftDockWidgetArea))
{
    MakeFoldable(m_codeDock);
    form->installEventFilter(this);
}

QDockWidget *FormDocks::Dock(const QString &name, const QString &title, Qt::DockWidgetArea area)
{
    // Moved or floated, never closed: nothing in the menus would bring it back.
    auto *dock = new QDockWidget(title, m_window);
    dock->setObjectName(name);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(new QWidget(dock));
    dock->hide();
    m_window->addDockWidget(area, dock);
    return dock;
}

void FormDocks::MakeFoldable(QDockWidget *dock)
{
    // Its title a button that folds the dock to it, and the canvas takes the room.
    auto *fold = new QToolButton(dock);
    fold->setObjectName(dock->objectName() + QStringLiteral("Fold"));
    fold->setText(dock->windowTitle());
    fold->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fold->setArrowType(Qt::DownArrow);
    fold->setAutoRaise(true);
    fold->setCheckable(true);
    fold->setChecked(true);
    connect(fold, &QToolButton::toggled, dock, [dock, fold](bool open) {
        dock->widget()->setVisible(open);
        dock->setMaximumHeight(open ? QWIDGETSIZE_MAX : fold->sizeHint().height());
        fold->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    });
    dock->setTitleBarWidget(fold);
}

bool FormDocks::Show(bool moduleSize, bool holdsSet)
{
    ShowStrip(!moduleSize && holdsSet);
    if (m_docked == !moduleSize)
        return false;
    m_docked = !moduleSize;
    m_parts.typeFrame->setVisible(moduleSize);
    m_parts.gridFrame->setVisible(moduleSize);
    m_codeDock->setVisible(m_docked);
    if (m_docked) {
        m_parts.canvas->setParent(m_form);
        m_parts.canvas->show();
        PlaceCanvas();
        Fill(new QHBoxLayout(m_codeDock->widget()), m_parts.code);
        Fill(new QVBoxLayout(m_stripDock->widget()), m_parts.strip);
    } else {
        // The docks' layouts go with the controls they held; the corners put each back where it was designed.
        delete m_codeDock->widget()->layout();
        delete m_stripDock->widget()->layout();
        m_parts.canvas->setParent(m_parts.gridFrame);
        for (QWidget *control : m_parts.code + m_parts.strip)
            control->setParent(m_form);
        for (QWidget *control : m_parts.code + QList<QWidget *>{m_parts.canvas})
            control->show();
        m_corners.Place();
    }
    return true;
}

void FormDocks::ShowStrip(bool shown)
{
    if (shown == m_stripDock->isVisibleTo(m_window))
        return;
    // A window the strip's dock widened is as narrow again once it goes, unless the user sized it since.
    const QSize before = m_window->size();
    const bool smallest = before == m_window->minimumSize();
    m_stripDock->setVisible(shown);
    m_window->layout()->activate(); // the window's smallest size without the dock, at once
    if (shown)
        m_beforeStrip = before;
    else if (smallest)
        m_window->resize(m_beforeStrip);
}

void FormDocks::PlaceCanvas() const
{
    const int top = m_parts.toolbar->geometry().bottom() + 1;
    m_parts.canvas->setGeometry(0, top, m_form->width(), m_form->height() - top);
}

bool FormDocks::eventFilter(QObject *watched, QEvent *event)
{
    if (m_docked && watched == m_form && event->type() == QEvent::Resize)
        PlaceCanvas();
    return QObject::eventFilter(watched, event);
}
