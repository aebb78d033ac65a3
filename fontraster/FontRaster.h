#pragma once

#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <functional>
#include <string_view>

// TrueType and OpenType fonts as the display libraries take them: each
// character's glyph drawn in black and white at one pixel size.
namespace tessaldo {

// The characters of the font in `bytes` that `wanted` holds (all of them
// where it is empty), drawn by FreeType at `pixelSize` pixels with its
// default hinting, as Debian's otf2bdf -p PX -r 72 draws them, each box
// shrunk to its dots: a font made here has the dots of one made through
// otf2bdf. `file` names the font in a refusal.
Result<BitmapFont> RasteriseFont(std::string_view bytes, int pixelSize, const std::function<bool(char32_t)> &wanted,
                                 std::string_view file);

} // namespace tessaldo
