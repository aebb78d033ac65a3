#pragma once

#include <QString>

// What the window asks before a picture or a set that was never saved would
// be lost. Tests put a scripted answer in the place of the real message box.
class SaveChangesQuestion {
public:
    enum class Answer { Save, Discard, Cancel };

    virtual ~SaveChangesQuestion() = default;
    virtual Answer Ask(const QString &question) = 0;
};
