#pragma once

#include <QList>
#include <QObject>
#include <QSize>

class QDockWidget;
class QMainWindow;
class QWidget;
class WindowCorners;

// The form's own controls out of the canvas's way off the module's size: the
// LCD type and the grid's frame hidden, the canvas filling the form under its
// toolbar, the code box with its copy button docked below it, foldable, and the set's
// strip docked beside it. At 16 x 16 each is back in the form, in the place
// the window's corners keep for it.
class FormDocks final : public QObject {
    Q_OBJECT

public:
    struct Parts {
        QWidget *toolbar;   // stays at the form's top
        QWidget *typeFrame; // hidden off 16 x 16
        QWidget *gridFrame; // hidden off 16 x 16, its canvas taken out of it
        QWidget *canvas;
        QList<QWidget *> code;  // in a row, the first taking the width
        QList<QWidget *> strip; // in a column, the first taking the height
    };

    FormDocks(QMainWindow *window, QWidget *form, Parts parts, WindowCorners &corners);

    // The controls where `moduleSize` wants them, the strip's dock shown while
    // `holdsSet`; true when a control moved, which leaves the tab order to be made again.
    bool Show(bool moduleSize, bool holdsSet);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDockWidget *Dock(const QString &name, const QString &title, Qt::DockWidgetArea area);
    static void MakeFoldable(QDockWidget *dock);
    void ShowStrip(bool shown);
    void PlaceCanvas() const;

    QMainWindow *m_window;
    QWidget *m_form;
    Parts m_parts;
    WindowCorners &m_corners;
    QDockWidget *m_codeDock;
    QDockWidget *m_stripDock;
    bool m_docked = false;
    QSize m_beforeStrip; // the window's size before the strip's dock came
};
