#pragma once

#include "core/model/DotGrid.h"
#include "core/session/EditSession.h"
#include "serial/ModulePlayer.h"

#include <QObject>
#include <QString>

class QWidget;

// "Send to Module…" and "Play on Module…": the picture, or the set at its
// delays, over the port and speed the user last chose, kept for next time.
class ModuleSending final : public QObject {
    Q_OBJECT

public:
    // `grid` is the picture as the window draws it, which is what is sent.
    ModuleSending(tessaldo::EditSession &session, const tessaldo::DotGrid &grid, QWidget *window);

    void SendToModule();
    // Plays the set through the port "Send to Module…" last used, or stops.
    void TogglePlayOnModule();
    bool IsPlaying() const { return m_onModule.IsPlaying(); }
    const QString &Port() const { return m_sendPort; }
    int Baud() const { return m_sendBaud; }

signals:
    // The caption "Play on Module…" takes as playing starts or stops.
    void PlayCaptionChanged(const QString &caption);

private:
    void CannotSend(const QString &problem);

    tessaldo::EditSession &m_session;
    const tessaldo::DotGrid &m_grid;
    QWidget *m_window;
    QString m_sendPort; // as the last send left them
    int m_sendBaud = 0;
    tessaldo::ModulePlayer m_onModule;
};
