#pragma once

#include "ui/dialogs/SaveChangesQuestion.h"

class QWidget;

// The questions as message boxes over the window: Save, Discard or Cancel; Yes or No.
class SaveChangesBox final : public SaveChangesQuestion {
public:
    explicit SaveChangesBox(QWidget *owner);

    Answer Ask(const QString &question) override;
    bool AskToReplace(const QString &question) override;

private:
    QWidget *m_owner;
};
