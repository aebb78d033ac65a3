#include "ModuleSending.h"

#include "Preferences.h"
#include "SendDialog.h"
#include "Utf8.h"
#include "WindowNotices.h"
#include "core/code/CodeGenerator.h"
#include "core/session/Texts.h"

using namespace tessaldo;

namespace {

constexpr auto kSendPortKey = "sendToModule/port";
constexpr auto kSendBaudKey = "sendToModule/baud";

QByteArray BytesFor(const DotGrid &grid)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

QString PlayCaption()
{
    return FromUtf8(CommandWithId(CommandId::PlayOnModule).caption);
}

} // namespace

ModuleSending::ModuleSending(EditSession &session, const DotGrid &grid, QWidget *window)
    : m_session(session),
      m_grid(grid),
      m_window(window),
      m_sendPort(Preferences().value(kSendPortKey).toString()),
      m_sendBaud(Preferences().value(kSendBaudKey, 0).toInt())
{
    connect(&m_onModule, &ModulePlayer::Failed, this, [this](const QString &problem) {
        emit PlayCaptionChanged(PlayCaption());
        CannotSend(problem);
    });
}

void ModuleSending::SendToModule()
{
    m_session.EndStroke();
    SendDialog dialog(BytesFor(m_grid), m_sendPort, m_sendBaud, m_window);
    dialog.exec();
    m_sendPort = dialog.Port();
    m_sendBaud = dialog.Baud();
    QSettings preferences = Preferences();
    preferences.setValue(kSendPortKey, m_sendPort);
    preferences.setValue(kSendBaudKey, m_sendBaud);
}

void ModuleSending::TogglePlayOnModule()
{
    m_session.EndStroke();
    if (m_onModule.IsPlaying()) {
        m_onModule.Stop();
        emit PlayCaptionChanged(PlayCaption());
        return;
    }
    if (m_sendPort.isEmpty()) {
        Warn(m_window, QStringLiteral("Choose the module's port in \"Send to Module…\" first."));
        return;
    }
    const Document &set = m_session.Doc();
    std::vector<ModulePlayer::Frame> frames;
    for (const Picture &picture : set.pictures) {
        DotGrid grid;
        grid.SetLCDType(set.type);
        grid.SetAllDots(picture.dots);
        frames.push_back({BytesFor(grid), picture.delayMs});
    }
    if (const QString problem = m_onModule.Start(m_sendPort, m_sendBaud, std::move(frames)); !problem.isEmpty()) {
        CannotSend(problem);
        return;
    }
    emit PlayCaptionChanged(QStringLiteral("Stop Playing on Module"));
}

void ModuleSending::CannotSend(const QString &problem)
{
    Warn(m_window, FromUtf8(CannotSendTo(m_sendPort.toStdString(), problem.toStdString())));
}
