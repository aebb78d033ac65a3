#pragma once

#include "core/model/Document.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaldo {

// The steps Undo takes back and Redo brings again. A step keeps what it
// changed, never a copy of the whole document: what it did to the document's
// type, form and edited picture, and the run of pictures it replaced, so that
// a dot in a set of a thousand pictures costs two pictures, not two thousand.
// A step that changed only some dots of one picture, as a stroke or a click
// does, keeps just the runs of dots it flipped, so that ten thousand strokes
// on an 800 x 480 picture cost a few megabytes, not gigabytes.
class History {
public:
    // Steps kept; the oldest go first.
    static constexpr int kSteps = 10000;

    // A new step drops whatever could have been redone.
    void Push(std::string caption, const Document &before, const Document &after);
    // The same for a step that flipped the `dots` of the edited picture, in
    // ascending order, and nothing else, into `after`.
    void PushFlips(std::string caption, const Document &after, const std::vector<int> &dots);
    // The document to show, from the one shown, or nothing when there is no step to take.
    std::optional<Document> Undo(const Document &shown);
    std::optional<Document> Redo(const Document &shown);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < Count(); }
    int Count() const { return static_cast<int>(m_steps.size()); }
    // How many steps are done: Count() less those undone.
    int Index() const { return m_index; }
    // About how many bytes the steps hold, their captions, dots and pictures included.
    std::size_t KeptBytes() const;

private:
    // One side of a step: the document's own values and the pictures from `at` on that differ.
    struct Side {
        LcdType type;
        SetForm form;
        std::shared_ptr<const FontMetrics> font; // a font's set's own, kept by reference: most steps share it
        std::size_t current;
        std::vector<Picture> pictures;
    };
    // `count` dots from dot `first` on, each of which the step flipped.
    struct DotRun {
        std::uint32_t first;
        std::uint32_t count;
    };
    struct Step {
        std::string caption;
        std::size_t at;
        Side before;
        Side after;
        // Where the step only flipped dots of the picture at `at`: those dots,
        // and the sides hold no pictures. Empty for every other step.
        std::vector<DotRun> flipped;
    };

    // Past this many runs, two copies of the picture are the smaller record.
    static std::size_t MostRuns(const Dots &dots) { return 2 * dots.size() * sizeof(DotState) / sizeof(DotRun); }
    // The runs of dots in which `was` and `is` differ, or nothing past MostRuns.
    static std::optional<std::vector<DotRun>> FlippedRuns(const Dots &was, const Dots &is);
    void Keep(Step step);
    // The sides of a step from `before` to `after`, their fonts' metrics shared where the step leaves them alone.
    static std::pair<Side, Side> Sides(const Document &before, const Document &after);
    static Document Replaced(const Document &shown, const Step &step, const Side &from, const Side &to);

    std::deque<Step> m_steps;
    int m_index = 0;
};

} // namespace tessaldo
