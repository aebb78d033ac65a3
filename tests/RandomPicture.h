#pragma once

#include "DotGrid.h"

#include <algorithm>
#include <random>

// A picture with every dot drawn at random, for the given type.
inline tessaldo::DotGrid RandomGrid(std::mt19937 &random, tessaldo::LcdType type)
{
    tessaldo::DotGrid grid;
    grid.SetLCDType(type);
    for (int dot = 0; dot < tessaldo::kDotCount; ++dot)
        grid.SetDot(dot, random() % 2 ? tessaldo::DotState::Set : tessaldo::DotState::Clear);
    return grid;
}

inline int SetCount(const tessaldo::DotGrid::Dots &dots)
{
    return static_cast<int>(std::count(dots.begin(), dots.end(), tessaldo::DotState::Set));
}
