#pragma once

#include "CommandLine.h"
#include "core/model/BitmapFont.h"
#include "core/platform/Result.h"

#include <functional>
#include <string>
#include <string_view>

// Sets of pictures of characters as a BDF font, and back.
namespace tessaldo {

// A TrueType or OpenType font's glyphs drawn at a pixel size, `file` named
// in a refusal; the builds that have FreeType give one (RasteriseFont).
// Only the characters `wanted` holds are drawn, all where it is empty.
using TrueTypeRasteriser = Result<BitmapFont> (*)(std::string_view bytes, int pixelSize,
                                                  const std::function<bool(char32_t)> &wanted, std::string_view file);

// font SOURCE... --output OUT, TrueType and OpenType sources refused.
int MakeFont(const Arguments &arguments, Streams &streams);
// The same with TrueType and OpenType sources drawn by `rasteriser`.
int MakeFontWith(const Arguments &arguments, Streams &streams, TrueTypeRasteriser rasteriser);
// Whether a SOURCE of font is a TrueType or OpenType font.
bool NamesTrueTypeFont(const Arguments &arguments);
// import FONT.bdf OUT, or --each FOLDER: the glyphs as drawings named as text
// --each names its characters' drawings.
int ImportFont(const Arguments &arguments, Streams &streams, TrueTypeRasteriser rasteriser);

} // namespace tessaldo
