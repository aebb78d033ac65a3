#pragma once

#include <QString>

class QMimeData;

// What the window asks of the system clipboard: the copy command's three
// steps, and what is there to paste. Tests put a clipboard of their own in
// its place to reach the "no text" path and to paste what they like.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString &text) = 0;
    virtual bool HasText() const = 0;
    // May be null when the clipboard holds nothing.
    virtual const QMimeData *Contents() const = 0;
};
