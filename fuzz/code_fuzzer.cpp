// Any bytes go to the code reader. It must never crash, hang or read out of
// bounds; it must say why whenever it gives no picture; and the code written
// for a picture made from the same bytes must read back to that picture. Any
// set the bytes give is written as a header that reads back as that set.
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/code/CodeReader.h"
#include "core/formats/SetHeader.h"

#include <algorithm>
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

DotGrid PictureFrom(const std::uint8_t *data, std::size_t size)
{
    PictureBytes bytes{};
    std::copy_n(data, std::min(size, bytes.size()), bytes.begin());
    DotGrid grid;
    grid.SetAllDots(DotsFromLayoutBytes(bytes, BitLayout::Module, grid.nLCDType()));
    return grid;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::size_t notes = 0;
    const CodeReading reading = FindPicturesInCode(text, [&notes](const std::string &why) {
        Require(!why.empty());
        ++notes;
    });
    Require(notes == reading.passedOver);
    for (const CodePicture &picture : reading.pictures)
        Require(!picture.name.empty());
    const PickedPicture picked = PickPicture(FindPicturesInCode(text), std::nullopt);
    Require(picked.bytes.has_value() != !picked.problem.empty());
    // A compiler's command line settles more of the conditionals, with values to work out.
    const PickedPicture defined = PickPicture(FindPicturesInCode(text, {}, {{"ARDUINO", "105"}}), std::nullopt);
    Require(defined.bytes.has_value() != !defined.problem.empty());

    const SetReading set = ReadSet(text, LcdType::Column);
    Require(set.set.has_value() != !set.problem.empty());
    if (set.set) {
        const SetText header = FormatSetHeader(*set.set, std::filesystem::path("fuzz.h"), "fuzz");
        const SetReading back = ReadSet(header.text, LcdType::Row);
        Require(!header.problem.empty() || (back.ownHeader && back.set == set.set));
    }

    const DotGrid grid = PictureFrom(data, size);
    for (const std::string &code : {LCDtoCODE(grid), CArray({grid, "fuzz", "fuzz.Lcd"})}) {
        const PickedPicture back = PickPicture(FindPicturesInCode(code), std::nullopt);
        Require(back.bytes.has_value() && DotsOfPicture(*back.bytes, back.layout, grid.nLCDType()) == grid.AllDots());
    }
    return 0;
}
