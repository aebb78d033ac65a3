#pragma once

#include "core/model/Dots.h"

#include <string>
#include <vector>

// Pictures as rows of '#' and '.', the way a test reads best: dots along
// rows, as any size but 16 x 16 keeps them.
inline tessaldo::Dots Drawn(const std::vector<std::string> &rows)
{
    tessaldo::Dots dots({static_cast<int>(rows.front().size()), static_cast<int>(rows.size())});
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            if (rows[row][column] == '#')
                dots[row * rows[row].size() + column] = tessaldo::DotState::Set;
    return dots;
}

inline std::vector<std::string> Rows(const tessaldo::Dots &dots)
{
    std::vector<std::string> rows;
    for (int row = 0; row < dots.Size().height; ++row) {
        std::string line;
        for (int column = 0; column < dots.Size().width; ++column)
            line +=
                dots[static_cast<std::size_t>(row * dots.Size().width + column)] == tessaldo::DotState::Set ? '#' : '.';
        rows.push_back(line);
    }
    return rows;
}
