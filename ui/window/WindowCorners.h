#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <vector>

class QWidget;

// The window in the middle of the screen, its title in sight on a screen smaller than it.
void CentreOnScreen(QWidget *window);

// Keeps the window's controls where they were designed as the window grows
// past its smallest size: each stays by the corner it belongs to, and the
// ones that show the picture take the room gained.
class WindowCorners final : public QObject {
    Q_OBJECT

public:
    // What a control does with the room the window gained, one or more of these.
    enum Follow { Stays = 0, Right = 1, Down = 2, Wider = 4, Taller = 8 };

    explicit WindowCorners(QWidget *window);

    // `control` at its geometry now, which is its place in the window at its smallest.
    void Add(QWidget *control, int follows);
    // How much larger than its smallest the window is.
    QSize Grown() const;
    // Each control where its corner keeps it, but one taken out of the parent it was added in.
    void Place() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Control {
        QPointer<QWidget> widget;
        QRect designed;
        int follows;
        QWidget *parent;
    };

    QWidget *m_window;
    std::vector<Control> m_controls;
};
