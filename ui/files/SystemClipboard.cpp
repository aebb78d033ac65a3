#include "ui/files/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void SystemClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

void SystemClipboard::SetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

bool SystemClipboard::HasText() const
{
    const QMimeData *data = Contents();
    return data != nullptr && data->hasText();
}

const QMimeData *SystemClipboard::Contents() const
{
    return QGuiApplication::clipboard()->mimeData();
}
