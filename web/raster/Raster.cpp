// The page's TrueType and OpenType drawing, a module of its own: FreeType is
// most of its size, so the page fetches and starts it only when such a font
// is first opened. The font crosses back as the BDF text the core writes of
// it, which the core reads back with every metric kept.
#include "core/formats/BdfFont.h"
#include "fontraster/FontRaster.h"
#include "web/binding/Convert.h"

#include <emscripten/bind.h>

using namespace tessaldo;
using emscripten::val;

namespace {

// The font in `bytes` drawn at `pixelSize`: {bdf, problem}, the problem the whole message when it was not drawn.
val Rasterise(const std::string &fileName, const val &bytes, int pixelSize)
{
    const Result<BitmapFont> font = RasteriseFont(page::BytesOf(bytes), pixelSize, {}, fileName);
    val result = val::object();
    result.set("bdf", font ? FormatBdfFont(font.value()) : std::string());
    result.set("problem", font ? std::string() : font.message());
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_raster)
{
    emscripten::function("rasterise", &Rasterise);
}
