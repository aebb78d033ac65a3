#pragma once

#include "core/code/LayoutGuess.h"
#include "core/model/BitLayout.h"
#include "core/model/Document.h"
#include "core/platform/FileStatus.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// Source files of firmware are small; anything larger is no source of pictures.
inline constexpr std::size_t kMaxSourceBytes = std::size_t{16} << 20;

// Refuses a source of `size` bytes that is too large to read, before anything is read.
FileStatus CheckSourceSize(const std::filesystem::path &file, std::uintmax_t size);

// Whether writing a header to `file` loses nothing: there is no such file
// yet, or it holds a header of this program that nobody changed since.
FileStatus HeaderMayReplace(const std::filesystem::path &file);
// The same for a file already read: `existing` is what it holds.
FileStatus HeaderMayReplaceText(const std::filesystem::path &file, const std::string &existing);

// A C source as a set: a header of this program exactly as it was saved, any
// other source with every picture it holds, in `typeIfUnsaid` where it does
// not say its type.
struct SetFile {
    std::optional<Document> set; // nullopt when the file cannot be read as one: `status` says why
    FileStatus status;
    bool ownHeader = false;               // saving the set again may write over it
    BitLayout layout = BitLayout::Module; // the layout such a header holds the pictures in
    std::vector<LayoutChoice> choices{};  // as SetReading's: what to ask before taking the set
    std::string passedOver{};             // PassedOverText's note, "" when nothing was
    std::string text{};                   // what the file held, to tell later whether it changed
};
// Pictures whose code says no layout are read in `unsaidLayout`; with none
// given, in the module's, with `choices` to ask the user about.
SetFile ReadSetFile(const std::filesystem::path &file, LcdType typeIfUnsaid,
                    std::optional<BitLayout> unsaidLayout = std::nullopt);

// The name Save Set offers for a set opened from the source `opened`, which
// it may not write over: a header's own name, another source's with .h for
// its extension (gfx_sketch.ino: gfx_sketch.h).
std::string HeaderNameFor(std::string_view opened);

// Whether Save Set may write over the header it opened or saved: only while
// the file still holds `known`, what it held then. Another program, or this
// one's command line, may have written another set there since.
FileStatus HeaderUnchanged(const std::filesystem::path &file, const std::string &known);

} // namespace tessaldo
