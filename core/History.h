#pragma once

#include "Document.h"

#include <deque>
#include <optional>
#include <string>

namespace tessaldo {

// The steps Undo takes back and Redo brings again, each the whole document
// before and after it, so every kind of step, from one dot to an opened
// file, is undone the same way. It also knows which point of the history is
// clean: the document as it was last saved, opened or started with.
class History {
public:
    // Steps kept; the oldest go first.
    static constexpr int kSteps = 10000;

    // A new step drops whatever could have been redone.
    void Push(std::string caption, const Document &before, const Document &after);
    // The document to show, or nothing when there is no step to take.
    std::optional<Document> Undo();
    std::optional<Document> Redo();

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < Count(); }
    int Count() const { return static_cast<int>(m_steps.size()); }
    // How many steps are done: Count() less those undone.
    int Index() const { return m_index; }

private:
    struct Step {
        std::string caption;
        Document before;
        Document after;
    };

    std::deque<Step> m_steps;
    int m_index = 0;
};

} // namespace tessaldo
