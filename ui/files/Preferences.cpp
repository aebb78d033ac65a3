#include "ui/files/Preferences.h"

#include "ui/common/Utf8.h"

#include <QFileInfo>

using namespace tessaldo;

namespace {

// The rate was always kept as a number, the other parts as text.
QVariant StoredValue(const Workspace &workspace, std::string_view key)
{
    if (key == kSendBaudKey)
        return workspace.sendBaud;
    return FromUtf8(WorkspaceValue(workspace, key));
}

const QString kLastFolderKey = QStringLiteral("lastFolder");

} // namespace

Workspace StoredWorkspace()
{
    const QSettings preferences = Preferences();
    Workspace workspace;
    for (const std::string_view key : kWorkspaceKeys) {
        const QString name = FromUtf8(key);
        if (preferences.contains(name))
            SetWorkspaceValue(workspace, key, preferences.value(name).toString().toStdString());
    }
    return workspace;
}

void StoreWorkspace(const Workspace &workspace, std::initializer_list<std::string_view> keys)
{
    QSettings preferences = Preferences();
    for (const std::string_view key : keys)
        preferences.setValue(FromUtf8(key), StoredValue(workspace, key));
}

void StoreArrayForm(CodeFormat form)
{
    Workspace chosen;
    chosen.arrayForm = form;
    StoreWorkspace(chosen, {kArrayFormKey});
}

QString LastFolder()
{
    return Preferences().value(kLastFolderKey).toString();
}

void KeepFolderOf(const QString &file)
{
    Preferences().setValue(kLastFolderKey, QFileInfo(file).absolutePath());
}
