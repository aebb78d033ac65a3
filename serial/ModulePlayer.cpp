#include "serial/ModulePlayer.h"

#include "core/model/Document.h"

namespace tessaldo {

ModulePlayer::ModulePlayer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ModulePlayer::SendNext);
}

QString ModulePlayer::Start(const QString &port, int baud, std::vector<Frame> frames)
{
    Stop();
    if (frames.empty())
        return QStringLiteral("there is no frame to play");
    if (QString problem = m_link.Open(port, baud); !problem.isEmpty())
        return problem;
    m_frames = std::move(frames);
    m_next = 0;
    SendNext();
    return {};
}

void ModulePlayer::Stop()
{
    m_timer.stop();
    m_link.Close();
}

void ModulePlayer::SendNext()
{
    const Frame &frame = m_frames[m_next];
    if (const QString problem = m_link.Send(frame.bytes); !problem.isEmpty()) {
        Stop();
        emit Failed(problem);
        return;
    }
    m_next = (m_next + 1) % m_frames.size();
    m_timer.start(ShownDelayMs(frame.delayMs));
}

} // namespace tessaldo
