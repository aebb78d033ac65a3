// Any bytes go to the drawing-file reader. It must never crash, hang or read
// out of bounds, and whatever it accepts must be a whole picture that saves
// and reopens unchanged.
#include "core/formats/DrawingFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tessaldo;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsDotState(DotState state)
{
    return state == DotState::Clear || state == DotState::Set;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ParsedDrawing parsed = ParseDrawing(bytes, ReadFrom::File("fuzz.Lcd"));

    // Only the start of a file is ever read, so it alone must decide.
    const ParsedDrawing start = ParseDrawing(bytes.substr(0, kDrawingBytesRead), ReadFrom::File("fuzz.Lcd"));
    Require(start.ok() == parsed.ok() && start.message() == parsed.message()
            && (!parsed || start.value() == parsed.value()));

    if (!parsed) {
        Require(!parsed.message().empty());
        return 0;
    }
    const Drawing &drawing = parsed.value();
    for (const DotState state : drawing.dots)
        Require(IsDotState(state));
    if (drawing.type)
        Require(*drawing.type == LcdType::Column || *drawing.type == LcdType::Row);

    DotGrid grid;
    grid.SetLCDType(LcdType::Row); // a legacy file must leave this type alone
    ApplyDrawing(grid, drawing);
    Require(grid.nLCDType() == drawing.type.value_or(LcdType::Row));
    Require(grid.AllDots() == drawing.dots);

    const ParsedDrawing reopened = ParseDrawing(FormatDrawing(grid), ReadFrom::File("fuzz.Lcd"));
    Require(reopened.ok());
    Require(reopened.value().type == grid.nLCDType());
    Require(reopened.value().dots == grid.AllDots());
    return 0;
}
