#include "ui/window/ModuleSending.h"

#include "core/code/CodeGenerator.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"
#include "ui/dialogs/SendDialog.h"
#include "ui/files/Preferences.h"
#include "ui/window/WindowNotices.h"

using namespace tessaldo;

namespace {

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
      m_window(window)
{
    const Workspace stored = StoredWorkspace();
    m_sendPort = FromUtf8(stored.sendPort);
    m_sendBaud = stored.sendBaud;
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
    Workspace chosen;
    chosen.sendPort = m_sendPort.toStdString();
    chosen.sendBaud = m_sendBaud;
    StoreWorkspace(chosen, {kSendPortKey, kSendBaudKey});
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
