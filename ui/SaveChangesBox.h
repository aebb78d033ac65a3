#pragma once

#include "SaveChangesQuestion.h"

class QWidget;

// The question as a message box over the window: Save, Discard or Cancel.
class SaveChangesBox final : public SaveChangesQuestion {
public:
    explicit SaveChangesBox(QWidget *owner);

    Answer Ask(const QString &question) override;

private:
    QWidget *m_owner;
};
