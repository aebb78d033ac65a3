#pragma once

#include "core/code/CodeValues.h"
#include "core/model/BitLayout.h"
#include "core/model/DotGrid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// Something in a text that is meant as a picture: the printf lines Run
// writes, an array of byte values, a bare list of values, or the raw bytes.
struct CodePicture {
    std::string name;     // the array's (NAME of an X BitMap's NAME_bits), "printf_line_N" or "picture"
    PictureBytes bytes{}; // valid when problem is empty
    std::string problem;  // why it cannot be read after all
    // Whose layout the bytes are in, when the text tells: the module's for
    // values after 0xA4, printf lines and raw bytes; X BitMap's for an XBM.
    // Bare values tell nothing; they are read as the module's.
    std::optional<BitLayout> layout;
    std::string layoutEvidence{}; // how the text tells it: "drawXBM draws it on line 14"
    // A picture of any other size than 16 x 16 holds all its bytes here, `bytes` none of them.
    PictureSize size{};
    std::vector<std::uint8_t> sizedBytes{};
    std::string sizeEvidence{}; // how the text tells it: "drawXBM draws it 128 x 64 on line 14"
};

// An array that is no 16 x 16 picture and whose code tells no size, but
// whose length a common display's size fits in some layout (LayoutGuess's
// kDisplaySizes), or an array of pictures, one in each row of its shape
// (`[10][128]`): passed over, and kept so that its sizes can be proposed.
struct UnsizedArray {
    std::string name;
    std::string what;                // "the array buffer on line 3 has 1024 values"
    std::vector<std::uint8_t> bytes; // of its first picture, where each row of its shape holds one
    std::optional<BitLayout> layout; // where a drawing call tells it
    std::string layoutEvidence{};
    std::vector<PictureSize> sizes{}; // that its bytes fit: a common display's, or any a row's bytes fit
};

// Which sizes a reading takes. By default only the module's 16 x 16, as the
// window and the page draw them; with `toldSizes`, also every size the code
// tells: an X BitMap's NAME_width and NAME_height, NAME_WIDTH and
// NAME_HEIGHT beside an array or beside a set's index of arrays, a
// two-dimensional shape, or a drawing call's width and height.
struct SizeReading {
    bool toldSizes = false;
    // The size of every array whose code tells none (with toldSizes).
    std::optional<PictureSize> unsaid;
};

// How many of the arrays passed over are named, the rest counted: a source
// of thousands says why the first few are no pictures, as a refusal of
// thousands of pictures names the first few.
inline constexpr std::size_t kPassedOverNamed = 8;

struct CodeReading {
    std::vector<CodePicture> pictures;
    std::size_t passedOver = 0;               // arrays that are no pictures, a 475-byte font, say
    std::vector<std::string> firstPassedOver; // why the first kPassedOverNamed + 1 of them are none
    std::vector<UnsizedArray> unsized;        // of those passed over, when told sizes are read and none is given

    // Counts one more array passed over, and keeps why while few are: one
    // more than are named, which is named rather than "1 more".
    void PassOver(const std::string &why)
    {
        if (passedOver++ <= kPassedOverNamed)
            firstPassedOver.push_back(why);
    }
};

// Told why each array passed over is no picture, as it is met, so that a
// text of many arrays needs no memory for them.
using PassedOverNote = std::function<void(const std::string &why)>;

// Everything in the text that is meant as a picture, in the order it stands.
// Comments, preprocessor lines, text that #if and the like surely leave out
// and any other code around it are passed over; values are read as a C
// compiler fills a char array with them, #define'd names and strings
// included. An array whose length or shape is no picture's is passed over
// with a note; one that has a picture's but a value that gives no byte, or
// one whose length a macro standing for a list leaves unknown, is a picture
// with a problem. An array whose code tells another size (`sizes`) is a
// picture of that size where its length fits the size in its layout, and
// passed over with the reason where it does not.
// Branches of a conditional that give an array the same bytes give one
// picture; `defines` settles conditions as a compiler's command line does.
CodeReading FindPicturesInCode(std::string_view text, const PassedOverNote &note = {},
                               const CommandLineDefines &defines = {}, const SizeReading &sizes = {});

// The first name that two different pictures share, as branches of a conditional give them.
std::optional<std::string> NameSharedByTwo(const CodeReading &reading);
// "it holds 2 different pictures named x, in branches of a conditional that the text itself does not settle"
std::string SharedNameProblem(const CodeReading &reading, const std::string &name);

// Either the bytes of one picture, or why the text gives none. A picture of
// another size than 16 x 16 has no `bytes`, and its own in `sizedBytes`.
struct PickedPicture {
    std::optional<PictureBytes> bytes;
    std::string problem;
    std::optional<BitLayout> layout; // as the picture's
    std::string layoutEvidence{};    // as the picture's
    PictureSize size{};              // as the picture's, and the rest too
    std::vector<std::uint8_t> sizedBytes{};
    std::string sizeEvidence{};
};
// The picture called `name`, or the only one the text holds.
PickedPicture PickPicture(const CodeReading &reading, const std::optional<std::string> &name);
// The dots a picture's bytes show in `type`: in its layout, the module's when the text tells none.
DotGrid::Dots DotsOfPicture(const PictureBytes &bytes, std::optional<BitLayout> layout, LcdType type);

// The array of no told size that `name` names, or without a name the only
// one of a text that holds no picture; none otherwise.
const UnsizedArray *PickUnsized(const CodeReading &reading, const std::optional<std::string> &name);

} // namespace tessaldo
