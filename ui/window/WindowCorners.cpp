#include "ui/window/WindowCorners.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

WindowCorners::WindowCorners(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void WindowCorners::Add(QWidget *control, int follows)
{
    m_controls.push_back({control, control->geometry(), follows, control->parentWidget()});
    Place();
}

QSize WindowCorners::Grown() const
{
    const QSize grown = m_window->size() - m_window->minimumSize();
    return {std::max(0, grown.width()), std::max(0, grown.height())};
}

bool WindowCorners::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        Place();
    return QObject::eventFilter(watched, event);
}

void WindowCorners::Place() const
{
    const QSize grown = Grown();
    for (const Control &control : m_controls) {
        if (control.widget.isNull() || control.widget->parentWidget() != control.parent)
            continue;
        QRect placed = control.designed;
        placed.translate((control.follows & Right) != 0 ? grown.width() : 0,
                         (control.follows & Down) != 0 ? grown.height() : 0);
        placed.setSize(placed.size()
                       + QSize((control.follows & Wider) != 0 ? grown.width() : 0,
                               (control.follows & Taller) != 0 ? grown.height() : 0));
        control.widget->setGeometry(placed);
    }
}

void CentreOnScreen(QWidget *window)
{
    // Done here rather than left to a window manager, which may not exist.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(0, 0), window->size());
    frame.moveCenter(available.center());
    // On a screen smaller than the window, keep its top-left corner, and so its title, in sight.
    window->move(std::max(frame.left(), available.left()), std::max(frame.top(), available.top()));
}
