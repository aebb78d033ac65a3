#pragma once

#include "core/model/DotGrid.h"
#include "core/model/Stroke.h"

#include <vector>

namespace tessaldo {

// What a press, a drag and a release on the dot grid mean, the same in the
// window and on the page: a press and a release on the same dot with no
// other dot reached between is a click; reaching another dot begins a
// stroke, which flips the pressed dot and gives everything the pointer
// crosses from then on that dot's new state, as one step of the history.
// The face says which dot is under the pointer and where it is.
class GridGesture {
public:
    // How a gesture ended: nothing to do, a click on a dot, or a stroke to close.
    enum class End { Nothing, Click, Stroke };

    // `cellSize`: a cell's side in the units the face gives points in.
    explicit GridGesture(double cellSize) : m_cellSize(cellSize) {}

    // A press over `dot`, -1 where there is none, which then begins nothing.
    void Press(int dot, PointF point, LcdType layout);
    bool IsPressed() const { return m_pressedDot >= 0; }
    // The pointer moved to `point`, over `dot` (-1 for none): the dots to set
    // to PaintState(), those `grid` shows otherwise, in the order met.
    std::vector<int> Move(int dot, PointF point, const DotGrid &grid);
    DotState PaintState() const { return m_paintState; }
    // The release over `dot`: a click names that dot in ClickedDot().
    End Release(int dot);
    // The pointer was taken from the gesture: a stroke still closes, nothing clicks.
    End Cancel();
    int ClickedDot() const { return m_clickedDot; }

private:
    double m_cellSize;
    LcdType m_layout = LcdType::Column;
    int m_pressedDot = -1;
    int m_clickedDot = -1;
    bool m_stroking = false;
    DotState m_paintState = DotState::Set;
    PointF m_lastPoint;
};

} // namespace tessaldo
