#include "core/model/DotGrid.h"

namespace tessaldo {

void DotGrid::ToggleDot(int dot)
{
    SetDot(dot, IsClear(dot) ? DotState::Set : DotState::Clear);
}

void DotGrid::ClearLCD()
{
    m_dots.fill(DotState::Clear);
}

} // namespace tessaldo
