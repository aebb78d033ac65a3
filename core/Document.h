#pragma once

#include "DotGrid.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tessaldo {

// One picture of a set: its dots, the C identifier its code is named by,
// and how long it stays on the module when the set is played.
struct Picture {
    std::string name = "picture";
    int delayMs = 100;
    DotGrid::Dots dots{};
    friend bool operator==(const Picture &, const Picture &) = default;
};

enum class SetForm { Pictures, Frames };

// What the user edits: an ordered set of pictures sharing one LCD type, and
// the picture being edited. The set is never empty.
struct Document {
    LcdType type = LcdType::Column;
    std::vector<Picture> pictures{Picture{}};
    std::size_t current = 0;
    SetForm form = SetForm::Pictures;

    const Picture &Edited() const { return pictures.at(current); }
    Picture &Edited() { return pictures.at(current); }
    // The edited picture as the grid shows it, in the set's type.
    DotGrid Grid() const
    {
        DotGrid grid;
        grid.SetLCDType(type);
        grid.SetAllDots(Edited().dots);
        return grid;
    }
    friend bool operator==(const Document &, const Document &) = default;
};

} // namespace tessaldo
