#pragma once

#include "core/model/Layout.h"
#include "core/model/LcdType.h"

#include <array>

namespace tessaldo {

// The values are fixed: code that counts on Set being 1 and Clear 0 casts between them.
enum class DotState : unsigned char { Clear = 0, Set = 1 };

// The picture: 256 dots addressed by dot index, and the LCD type it is drawn
// for. The type only decides where a dot is shown; a dot's state stays with
// its index whatever the type.
class DotGrid {
public:
    using Dots = std::array<DotState, kDotCount>;

    DotState State(int dot) const { return m_dots.at(dot); }
    bool IsSet(int dot) const { return State(dot) == DotState::Set; }
    bool IsClear(int dot) const { return State(dot) == DotState::Clear; }
    const Dots &AllDots() const { return m_dots; }

    void SetDot(int dot, DotState state) { m_dots.at(dot) = state; }
    void SetAllDots(const Dots &dots) { m_dots = dots; }
    // A clear dot becomes set and a set dot clear: what a click on a dot does.
    void ToggleDot(int dot);
    void ClearLCD();

    LcdType nLCDType() const { return m_nLCDType; }
    void SetLCDType(LcdType type) { m_nLCDType = type; }

    friend bool operator==(const DotGrid &, const DotGrid &) = default;

private:
    Dots m_dots{}; // value-initialised: every dot Clear
    LcdType m_nLCDType = LcdType::Column;
};

} // namespace tessaldo
