#pragma once

#include "DotGrid.h"

#include <QUndoCommand>

#include <functional>

// One step of the history: the picture and its type as they were before the
// step and as it left them. Undo and redo both show a whole picture, so every
// kind of step, from one dot to an opened file, is the same command.
class PictureChange final : public QUndoCommand {
public:
    using Show = std::function<void(const tessaldo::DotGrid &)>;

    PictureChange(const QString &text, const tessaldo::DotGrid &before, const tessaldo::DotGrid &after, Show show)
        : QUndoCommand(text),
          m_before(before),
          m_after(after),
          m_show(std::move(show))
    {
    }

    void undo() override { m_show(m_before); }
    void redo() override { m_show(m_after); }

private:
    tessaldo::DotGrid m_before;
    tessaldo::DotGrid m_after;
    Show m_show;
};
