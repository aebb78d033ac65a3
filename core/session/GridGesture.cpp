#include "core/session/GridGesture.h"

#include <algorithm>
#include <utility>

namespace tessaldo {

void GridGesture::Press(int dot, PointF point, LcdType layout)
{
    m_pressedDot = dot;
    m_stroking = false;
    m_lastPoint = point;
    m_layout = layout;
}

std::vector<int> GridGesture::Move(int dot, PointF point, const DotGrid &grid)
{
    std::vector<int> changed;
    if (!IsPressed())
        return changed;
    if (!m_stroking) {
        if (dot < 0 || dot == m_pressedDot)
            return changed;
        m_stroking = true;
        m_paintState = grid.State(m_pressedDot) == DotState::Set ? DotState::Clear : DotState::Set;
        changed.push_back(m_pressedDot);
    }
    for (const Cell cell : CellsAlongSegment(m_lastPoint, point, m_cellSize, grid.Size())) {
        const int crossed = DotAtCell(m_layout, cell, grid.Size());
        if (grid.State(crossed) != m_paintState && std::find(changed.begin(), changed.end(), crossed) == changed.end())
            changed.push_back(crossed);
    }
    m_lastPoint = point;
    return changed;
}

GridGesture::End GridGesture::Release(int dot)
{
    const int pressed = m_pressedDot;
    const End ended = Cancel();
    if (ended == End::Nothing && pressed >= 0 && dot == pressed) {
        m_clickedDot = pressed;
        return End::Click;
    }
    return ended;
}

GridGesture::End GridGesture::Cancel()
{
    m_pressedDot = -1;
    m_clickedDot = -1;
    return std::exchange(m_stroking, false) ? End::Stroke : End::Nothing;
}

} // namespace tessaldo
