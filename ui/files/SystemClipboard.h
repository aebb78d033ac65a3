#pragma once

#include "ui/files/Clipboard.h"

// The clipboard of the desktop the program runs on.
class SystemClipboard final : public Clipboard {
public:
    void Clear() override;
    void SetText(const QString &text) override;
    bool HasText() const override;
    const QMimeData *Contents() const override;
};
