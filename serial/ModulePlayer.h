#pragma once

#include "serial/ModuleLink.h"

#include <QObject>
#include <QTimer>

#include <vector>

namespace tessaldo {

// Plays pictures on the module in turn at their ShownDelayMs, again and again,
// from the event loop, so that the window stays responsive while it plays.
class ModulePlayer final : public QObject {
    Q_OBJECT

public:
    struct Frame {
        QByteArray bytes; // the 33 bytes the module takes
        int delayMs = 100;
    };

    explicit ModulePlayer(QObject *parent = nullptr);

    // Opens the port and starts with the first frame; "" when it plays, else why not.
    QString Start(const QString &port, int baud, std::vector<Frame> frames);
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }

signals:
    // The link failed while playing; playing has stopped.
    void Failed(const QString &problem);

private:
    void SendNext();

    ModuleLink m_link;
    std::vector<Frame> m_frames;
    std::size_t m_next = 0;
    QTimer m_timer;
};

} // namespace tessaldo
