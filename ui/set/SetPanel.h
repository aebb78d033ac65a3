#pragma once

#include "core/session/EditSession.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QTimer>

class CommandMenu;
class PictureStrip;
class QWidget;
class WindowCorners;

// The strip of the set's pictures and its buttons, beside the window as
// designed, which they widen to the right while the set holds more than one picture.
class SetPanel final : public QObject {
    Q_OBJECT

public:
    // `designed` is the size of `form`, the main window's client area, which the panel stands to the right of.
    SetPanel(tessaldo::EditSession &session, const CommandMenu &menu, QSize designed, QWidget *form);

    // Shown, and the window widened, while the set holds more than one picture;
    // while the set plays, its next picture is shown after the shown one's delay.
    void Show();
    // The strip and then its buttons, in the tab order after `previous`.
    void ChainTabOrder(QWidget *previous) const;
    // The strip, then its buttons.
    QList<QWidget *> Widgets() const;
    // The strip and its buttons kept at the window's right as it grows.
    void Anchor(WindowCorners &corners) const;

private:
    void BuildStrip(const CommandMenu &menu);
    void BuildButtons(const CommandMenu &menu);
    void KeepPlaying();

    tessaldo::EditSession &m_session;
    QSize m_designed;
    QWidget *m_window;
    PictureStrip *m_strip = nullptr;
    QList<QWidget *> m_setButtons;
    QTimer m_playTimer;
};
