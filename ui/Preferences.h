#pragma once

#include <QSettings>

// Where the window keeps what the user chose for next time.
inline QSettings Preferences()
{
    return QSettings(QStringLiteral("Tessaldo"), QStringLiteral("Tessaldo"));
}
