#pragma once

#include "core/model/Dots.h"
#include "core/model/Layout.h"
#include "core/model/LcdType.h"

#include <utility>

namespace tessaldo {

// The picture: its dots addressed by dot index, and the LCD type it is drawn
// for. The type only decides where a dot of a 16 x 16 picture is shown; a
// dot's state stays with its index whatever the type.
class DotGrid {
public:
    using Dots = tessaldo::Dots;

    DotState State(int dot) const { return m_dots.at(dot); }
    bool IsSet(int dot) const { return State(dot) == DotState::Set; }
    bool IsClear(int dot) const { return State(dot) == DotState::Clear; }
    const Dots &AllDots() const { return m_dots; }
    PictureSize Size() const { return m_dots.Size(); }
    bool HasDot(int dot) const { return dot >= 0 && static_cast<std::size_t>(dot) < m_dots.size(); }
    // Where dot `dot` is shown, and the dot shown at `cell`, in this picture's size and type.
    Cell CellOf(int dot) const { return CellOfDot(m_nLCDType, dot, Size()); }
    int DotAt(Cell cell) const { return DotAtCell(m_nLCDType, cell, Size()); }

    void SetDot(int dot, DotState state) { m_dots.at(dot) = state; }
    void SetAllDots(Dots dots) { m_dots = std::move(dots); } // moved in: a picture may hold a million dots
    // A clear dot becomes set and a set dot clear: what a click on a dot does.
    void ToggleDot(int dot);
    void ClearLCD();

    LcdType nLCDType() const { return m_nLCDType; }
    void SetLCDType(LcdType type) { m_nLCDType = type; }

    friend bool operator==(const DotGrid &, const DotGrid &) = default;

private:
    Dots m_dots; // 16 x 16, every dot Clear
    LcdType m_nLCDType = LcdType::Column;
};

} // namespace tessaldo
