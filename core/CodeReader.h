#pragma once

#include "DotGrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// The 32 bytes of a picture: bit j of byte k is dot 8k+j.
using PictureBytes = std::array<std::uint8_t, kDotCount / 8>;

// Something in a text that is meant as a picture: the printf lines Run
// writes, an array of byte values, a bare list of values, or the raw bytes.
struct CodePicture {
    std::string name;     // the array's, "printf_line_N" or "picture"
    PictureBytes bytes{}; // valid when problem is empty
    std::string problem;  // why it is not one after all
};

// Everything in the text that is meant as a picture, in the order it stands.
// Comments, preprocessor lines and any other code around it are passed over;
// numbers are read as C reads them (hex, octal, decimal, binary, suffixes).
std::vector<CodePicture> FindPicturesInCode(std::string_view text);

// Either the bytes of one picture, or why the text gives none.
struct PickedPicture {
    std::optional<PictureBytes> bytes;
    std::string problem;
};
// The picture called `name`, or the only one the text holds.
PickedPicture PickPicture(const std::vector<CodePicture> &pictures, const std::optional<std::string> &name);
// FindPicturesInCode and PickPicture with no name: what a paste takes.
PickedPicture ReadPictureCode(std::string_view text);

DotGrid::Dots DotsFromPictureBytes(const PictureBytes &bytes);

} // namespace tessaldo
