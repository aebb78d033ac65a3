#pragma once

#include "core/model/PictureSize.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The rules of a picture's name, which is also its array's name in C and,
// for a frame, a number after its set's name.
namespace tessaldo {

// The longest name C promises to tell apart from others (63 significant
// characters); a picture's file, NAME.Lcd, then fits in any file system.
inline constexpr std::size_t kMaxNameLength = 63;
// A C identifier of at most kMaxNameLength characters that is no keyword of C or C++.
bool IsUsableName(std::string_view name);
// `base` cut to kMaxNameLength or, where `taken` says that name is taken,
// base_2, base_3, ... each cut before its number to fit: "arrow_2" made
// distinct again is "arrow_3", not "arrow_2_2".
std::string DistinctName(const std::string &base, const std::function<bool(const std::string &)> &taken);
// After "the name 'x' ": which rule of a picture's name it breaks ("is longer
// than 63 characters", ...), or "" for a usable name.
std::string NameRuleBroken(std::string_view name);

// Frame numbers have as many digits as the count needs, at least three.
std::size_t FrameDigits(std::size_t count);
// Frame `index` of `count` as "000", "001", ..., with as many digits as the
// count needs, at least three, so that they sort in order.
std::string FrameNumberText(std::size_t index, std::size_t count);
// The ending of a picture's drawing file as this program names one; it
// reads a file as one in any case of it.
inline constexpr std::string_view kDrawingSuffix = ".Lcd";
// The drawing file named `stem` + kDrawingSuffix.
std::string DrawingFileName(std::string_view stem);
// The suffix of a picture of `size` among others (a set's, a folder's, an
// animation's frames): kDrawingSuffix at 16 x 16, ".pbm" at any other size,
// which no drawing file holds.
std::string_view PictureFileSuffix(PictureSize size);
// The file named `stem` + PictureFileSuffix(size).
std::string PictureFileName(std::string_view stem, PictureSize size);
// Whether `name` ends in kDrawingSuffix, in any case.
bool EndsInDrawingSuffix(std::string_view name);

// The kinds of picture file a name asks for by its ending, in any case: the
// drawing file, a plain PBM, an XBM, a PNG image.
enum class PictureFormat { Drawing, Pbm, Xbm, Png };
// The ending that asks for the format: ".Lcd", ".pbm", ".xbm" or ".png".
std::string_view PictureFormatSuffix(PictureFormat format);
// Which format the file name asks for, or nothing for a name that ends in
// none of their endings (standard output's '-' among them).
std::optional<PictureFormat> PictureFormatOfName(std::string_view name);

// A letter, digit or '_', the characters of a C identifier.
bool IsNameChar(char c);
bool IsDigit(char c);
// A keyword of C or C++, or `main`.
bool IsReserved(std::string_view name);

} // namespace tessaldo
