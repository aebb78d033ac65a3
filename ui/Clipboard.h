#pragma once

#include <QString>

// The three things the copy command asks of the system clipboard. Tests put
// a clipboard of their own in its place to reach the "no text" path.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString &text) = 0;
    virtual bool HasText() const = 0;
};
