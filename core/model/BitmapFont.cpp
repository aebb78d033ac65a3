#include "core/model/BitmapFont.h"

#include <algorithm>

namespace tessaldo {

const BitmapGlyph *BitmapFont::Find(char32_t codePoint) const
{
    const auto found = std::find_if(glyphs.begin(), glyphs.end(),
                                    [codePoint](const BitmapGlyph &glyph) { return glyph.codePoint == codePoint; });
    return found == glyphs.end() ? nullptr : &*found;
}

BitmapGlyph Reduced(const BitmapGlyph &glyph)
{
    const FontBox &box = glyph.box;
    const auto columnBlank = [&glyph, &box](int column) {
        for (int row = 0; row < box.height; ++row)
            if (glyph.Dot(column, row))
                return false;
        return true;
    };
    const auto rowBlank = [&glyph, &box](int row) {
        for (int column = 0; column < box.width; ++column)
            if (glyph.Dot(column, row))
                return false;
        return true;
    };
    int left = 0;
    int right = box.width;
    int top = 0;
    int bottom = box.height;
    while (right > left && columnBlank(right - 1))
        --right;
    while (bottom > top && rowBlank(bottom - 1))
        --bottom;
    BitmapGlyph reduced = glyph;
    if (right == left || bottom == top) {
        // Nothing left to measure: the box keeps its top, as its rows went from below.
        reduced.box = {0, 0, box.x, box.y + box.height};
        reduced.dots.clear();
        return reduced;
    }
    while (columnBlank(left))
        ++left;
    while (rowBlank(top))
        ++top;
    reduced.box = {right - left, bottom - top, box.x + left, box.y + (box.height - bottom)};
    reduced.dots.clear();
    for (int row = top; row < bottom; ++row)
        for (int column = left; column < right; ++column)
            reduced.dots.push_back(glyph.Dot(column, row) ? 1 : 0);
    return reduced;
}

void SetAscentAndDescentFromDots(BitmapFont &font)
{
    font.ascent = 0;
    font.descent = 0;
    for (const BitmapGlyph &glyph : font.glyphs) {
        const FontBox box = Reduced(glyph).box;
        if (box.height == 0)
            continue;
        font.ascent = std::max(font.ascent, box.y + box.height);
        font.descent = std::max(font.descent, -box.y);
    }
}

} // namespace tessaldo
