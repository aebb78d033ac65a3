#pragma once

#include "core/session/Workspace.h"

#include <QSettings>
#include <QString>

#include <initializer_list>
#include <string_view>

// Where the window keeps what the user chose for next time.
inline QSettings Preferences()
{
    return QSettings(QStringLiteral("Tessaldo"), QStringLiteral("Tessaldo"));
}

// The workspace as the preferences keep it, each part read as its text form
// reads it: a part they lack or hold no fitting value for keeps its default.
tessaldo::Workspace StoredWorkspace();
// Keeps the parts under `keys` for next time, as the preferences have always held them.
void StoreWorkspace(const tessaldo::Workspace &workspace, std::initializer_list<std::string_view> keys);
// Keeps the form "Copy as C Array" copies in for next time.
void StoreArrayForm(tessaldo::CodeFormat form);
// The folder a file was last opened or saved in, kept across starts; empty before the first.
QString LastFolder();
void KeepFolderOf(const QString &file);
