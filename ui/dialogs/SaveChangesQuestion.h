#pragma once

#include <QString>

// What the window asks before a picture or a set that was never saved would
// be lost, or before files would be written over. Tests put a scripted answer
// in the place of the real message box.
class SaveChangesQuestion {
public:
    enum class Answer { Save, Discard, Cancel };

    virtual ~SaveChangesQuestion() = default;
    virtual Answer Ask(const QString &question) = 0;
    // Yes or No: whether to write over files that hold other work.
    virtual bool AskToReplace(const QString &question) = 0;
};
