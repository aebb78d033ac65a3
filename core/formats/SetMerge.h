#pragma once

#include "core/model/BitLayout.h"
#include "core/model/Document.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessaldo {

// What one file brings to a set made of several: its pictures, each with its
// name and delay, and what the file says of the set.
struct SetPart {
    std::string source; // how a message names the file: "icons.h" quoted, or standard input
    std::vector<Picture> pictures;
    std::optional<LcdType> type;           // as the file says it
    std::optional<std::string> framesName; // an animation's NAME
    BitLayout layout = BitLayout::Module;  // the layout a header of this program says its arrays are in
};

// The pictures of several files as one set, in the order given, by the rules
// one header holds: one type, one size, and icons whose names differ without case (the
// names decode --each writes back as files), or an animation's frames, which
// may show one picture twice. The first file's animation stays one, and its
// layout stays the set's.
class SetMerge {
public:
    // `framesName`: the animation the set is made into, whatever the files are.
    explicit SetMerge(std::optional<std::string> framesName);

    // The type a file that does not say its own is read in: the first said so far.
    LcdType Type() const { return m_set.type; }
    // Adds the part's pictures after those before; "" or the whole sentence
    // saying why they cannot share a header with them.
    std::string Add(const SetPart &part);
    // The set, its frames' names apart and, when `delayMs` is given, every
    // picture at that delay.
    Document Finish(std::optional<int> delayMs);

    const std::optional<std::string> &FramesName() const { return m_framesName; }
    // The layout of the first file, when it is a header that says one.
    BitLayout Layout() const { return m_layout; }

private:
    void NameFramesApart();

    Document m_set;
    std::optional<LcdType> m_saidType;
    std::optional<std::string> m_framesName;
    BitLayout m_layout = BitLayout::Module;
    std::vector<std::string> m_sources;                        // each picture's file, as messages name it
    std::unordered_map<std::string, std::size_t> m_byFileName; // names without case, as decode --each keys them
};

} // namespace tessaldo
