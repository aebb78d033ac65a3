#pragma once

#include "core/model/PictureSize.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// How a picture that draws one character is named: its file U+D55C.Lcd, as
// text --each writes it, and, once in a set, the array U_D55C that file gives.
// A font is made from such pictures and read back into them.
namespace tessaldo {

// "U+D55C": upper-case hex digits, at least four.
std::string CodePointName(char32_t codePoint);
// U+D55C.Lcd, or U+D55C.pbm for a picture of another size than 16 x 16
std::filesystem::path CharacterFileName(char32_t codePoint, PictureSize size = kModuleSize);
// The character a picture's name stands for: U_ (or the file's U+) and four
// to six hex digits of a Unicode scalar value; nullopt for any other name.
std::optional<char32_t> CodePointOfName(std::string_view name);

} // namespace tessaldo
