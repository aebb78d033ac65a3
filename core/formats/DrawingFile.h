#pragma once

#include "core/model/DotGrid.h"
#include "core/model/PictureName.h"
#include "core/platform/FileIo.h"
#include "core/platform/Result.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// The drawing file (.Lcd): a type line (" 0" or " 1") and a dot line with one
// character per dot, "1" for Clear and "0" for Set, lines ended by CR LF; a
// dot line with any other character is refused. The legacy form from version
// 1.0 is the dot line alone. A UTF-8 byte-order mark before the first line,
// as some Windows editors write one, is skipped.

// A first line this long or longer is a legacy dot line, never a type line.
inline constexpr std::size_t kLegacyLineMinLength = 10;
// Dots 0..254 were all that version 1.0 stored; dot 255 rides in an extra
// character that the old readers ignore.
inline constexpr std::size_t kDotLineLength = kDotCount;
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// Everything a reader can ever look at: a byte-order mark, the longest type
// line, its line end and a whole dot line. Bytes past this never change the result.
inline constexpr std::size_t kDrawingBytesRead =
    kUtf8ByteOrderMark.size() + (kLegacyLineMinLength - 1) + 2 + kDotLineLength;

// What a drawing file says.
struct Drawing {
    std::optional<LcdType> type; // absent in the legacy form: the type stays as it is
    DotGrid::Dots dots{};
    friend bool operator==(const Drawing &, const Drawing &) = default;
};

// Either a drawing, or the sentence saying why the bytes `from` gives are not one.
using ParsedDrawing = Result<Drawing>;

// Reads a drawing file's bytes. Line ends may be CR LF, LF or CR.
ParsedDrawing ParseDrawing(std::string_view bytes, const ReadFrom &from);

// The exact bytes SaveFile writes for the picture.
std::string FormatDrawing(const DotGrid &grid);

// Puts the drawing into the grid: the type first, when the file has one, then the dots.
void ApplyDrawing(DotGrid &grid, Drawing drawing);

// Reads and checks the whole drawing file before anything is applied, so a
// refused file leaves nothing changed.
FileStatus ReadDrawingFile(const std::filesystem::path &szFilePath, Drawing &drawing);

// The file frame `index` of `count` goes to: STEM-000.Lcd, -001, ..., or
// with another suffix for frames that are no drawing files (STEM-000.pbm).
std::filesystem::path FrameFileName(const std::string &stem, std::size_t index, std::size_t count,
                                    std::string_view suffix = kDrawingSuffix);

// The files in `folder` named as frames of `stem` (STEM-digits.Lcd, or the
// suffix given) that writing `count` frames would not replace: what an
// earlier, longer import left, which would pass for frames of this one. Sorted by name.
std::vector<std::filesystem::path> OtherFrames(const std::filesystem::path &folder, const std::string &stem,
                                               std::size_t count, std::string_view suffix = kDrawingSuffix);
// "spin-002.Lcd, spin-003.Lcd and spin-004.Lcd": the names, the first few and how many more.
std::string FrameNames(const std::vector<std::filesystem::path> &frames);
// Removes the files, stopping at the first that cannot be removed.
FileStatus RemoveFrames(const std::vector<std::filesystem::path> &frames);

FileStatus SaveFile(const DotGrid &grid, const std::filesystem::path &szFilePath);
FileStatus OpenFile(DotGrid &grid, const std::filesystem::path &szFilePath);

// A picture file: a drawing file, or a PBM (P1 or P4) or an XBM at its own
// size, dot for dot, told apart by their first bytes. This many of them tell
// them apart, an XBM's leading comments included.
inline constexpr std::size_t kPictureKindBytes = 4096;
// Reads a picture file's bytes. A bitmap has no type: its pixels are the
// dots shown at the same places in `type`, which only matters at 16 x 16.
ParsedDrawing ParsePicture(std::string_view bytes, const ReadFrom &from, LcdType type);
// The same for a file, of which no more is read than its kind needs.
FileStatus ReadPictureFile(const std::filesystem::path &path, Drawing &drawing, LcdType type);

// The bytes of the picture's file named `name`, in the format its ending
// asks for (PictureFormatOfName): a plain PBM for .pbm, an XBM for .xbm, at
// any size. Any other name, .Lcd among them, holds a 16 x 16 picture's
// drawing file, as SaveFile writes it, and a plain PBM of any other size; a
// .Lcd name for such a picture is refused with the reason. A face that writes
// no PNG writes these bytes for a .png name too; one that writes only what
// the name asks for checks the name first.
Result<std::string> PictureFileBytes(const DotGrid &grid, const std::filesystem::path &name);
// Writes PictureFileBytes to the file, as SaveFile does.
FileStatus SavePicture(const DotGrid &grid, const std::filesystem::path &path);

} // namespace tessaldo
