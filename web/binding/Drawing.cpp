// The grid and a single picture: where a dot stands on the screen and what
// the picture's bytes are.
#include "web/binding/Convert.h"

#include "core/code/CodeGenerator.h"
#include "core/model/Stroke.h"

#include <emscripten/bind.h>

using namespace tessaldo;
using namespace tessaldo::page;
using emscripten::val;

namespace {

val ModuleBytesOf(const std::string &dots)
{
    const ModuleBytes bytes = PictureModuleBytes(GridFrom(0, dots));
    return Uint8Array({reinterpret_cast<const char *>(bytes.data()), bytes.size()});
}

val CellOf(int type, int dot)
{
    const Cell cell = CellOfDot(TypeOf(type), dot);
    val result = val::object();
    result.set("column", cell.column);
    result.set("row", cell.row);
    return result;
}

int DotAt(int type, int column, int row)
{
    return DotAtCell(TypeOf(type), {column, row});
}

// The same in a picture of `width` x `height`, whose dots run along rows at any size but 16 x 16.
int DotAtSized(int type, int column, int row, int width, int height)
{
    return DotAtCell(TypeOf(type), {column, row}, {width, height});
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_drawing)
{
    emscripten::function("moduleBytes", &ModuleBytesOf);
    emscripten::function("describeDotBit", &DescribeDotBit);
    emscripten::function("cellOf", &CellOf);
    emscripten::function("dotAt", &DotAt);
    emscripten::function("dotAtSized", &DotAtSized);
}
