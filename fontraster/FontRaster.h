#pragma once

#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <string_view>

// TrueType and OpenType fonts as the display libraries take them: each
// character's glyph drawn in black and white at one pixel size.
namespace tessaldo {

// Every character of the font in `bytes` (`file` names it in a refusal),
// drawn by FreeType at `pixelSize` pixels with its default hinting, as
// Debian's otf2bdf -p PX -r 72 draws them, so that a font made here has the
// dots of one made through otf2bdf.
Result<BitmapFont> RasteriseFont(std::string_view bytes, int pixelSize, std::string_view file);

} // namespace tessaldo
