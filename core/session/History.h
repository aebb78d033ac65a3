#pragma once

#include "core/model/Document.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tessaldo {

// The steps Undo takes back and Redo brings again. Every kind of step, from
// one dot to an opened set, is kept the same way: what it did to the
// document's type, form and edited picture, and the run of pictures it
// replaced, so that a dot in a set of a thousand pictures costs two pictures,
// not two thousand.
class History {
public:
    // Steps kept; the oldest go first.
    static constexpr int kSteps = 10000;

    // A new step drops whatever could have been redone.
    void Push(std::string caption, const Document &before, const Document &after);
    // The document to show, from the one shown, or nothing when there is no step to take.
    std::optional<Document> Undo(const Document &shown);
    std::optional<Document> Redo(const Document &shown);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < Count(); }
    int Count() const { return static_cast<int>(m_steps.size()); }
    // How many steps are done: Count() less those undone.
    int Index() const { return m_index; }

private:
    // One side of a step: the document's own values and the pictures from `at` on that differ.
    struct Side {
        LcdType type;
        SetForm form;
        std::size_t current;
        std::vector<Picture> pictures;
    };
    struct Step {
        std::string caption;
        std::size_t at;
        Side before;
        Side after;
    };

    static Document Replaced(const Document &shown, std::size_t at, const Side &from, const Side &to);

    std::deque<Step> m_steps;
    int m_index = 0;
};

} // namespace tessaldo
