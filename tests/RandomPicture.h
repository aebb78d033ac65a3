#pragma once

#include "core/model/BitLayout.h"
#include "core/model/DotGrid.h"

#include <algorithm>
#include <random>
#include <string>

// A picture with every dot drawn at random, for the given type.
inline tessaldo::DotGrid RandomGrid(std::mt19937 &random, tessaldo::LcdType type)
{
    tessaldo::DotGrid grid;
    grid.SetLCDType(type);
    for (int dot = 0; dot < tessaldo::kDotCount; ++dot)
        grid.SetDot(dot, random() % 2 ? tessaldo::DotState::Set : tessaldo::DotState::Clear);
    return grid;
}

// Every dot of a picture of `size` at random.
inline tessaldo::Dots RandomDots(std::mt19937 &random, tessaldo::PictureSize size)
{
    tessaldo::Dots dots(size);
    for (tessaldo::DotState &dot : dots)
        dot = random() % 2 ? tessaldo::DotState::Set : tessaldo::DotState::Clear;
    return dots;
}

inline int SetCount(const tessaldo::DotGrid::Dots &dots)
{
    return static_cast<int>(std::count(dots.begin(), dots.end(), tessaldo::DotState::Set));
}

// A filled rectangle from `first` to `last`, both included, as the type shows
// it: the plainest drawn shape, away from the edges.
inline tessaldo::DotGrid FilledBox(tessaldo::LcdType type, tessaldo::Cell first, tessaldo::Cell last)
{
    tessaldo::DotGrid grid;
    grid.SetLCDType(type);
    for (int row = first.row; row <= last.row; ++row)
        for (int column = first.column; column <= last.column; ++column)
            grid.SetDot(tessaldo::DotAtCell(type, {column, row}), tessaldo::DotState::Set);
    return grid;
}

// The bytes as a list of decimal values, as a library's array holds them.
inline std::string ValueList(const tessaldo::PictureBytes &bytes)
{
    std::string values;
    for (const std::uint8_t byte : bytes)
        values += (values.empty() ? "" : ", ") + std::to_string(byte);
    return values;
}
