#pragma once

#include "CommandLine.h"
#include "core/code/CodeValues.h"
#include "core/formats/SetMerge.h"
#include "core/model/BitLayout.h"
#include "core/model/Document.h"
#include "core/model/DotGrid.h"
#include "core/model/PictureName.h"
#include "core/platform/FileStatus.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What every command of the tool shares: how it loads and writes drawing
// files, reads C sources and names its inputs. It builds wherever the core
// builds, Windows too.
namespace tessaldo {

// What a refusal of two pictures of one name adds: how to pick one.
inline constexpr std::string_view kDefineRemedy =
    "; --define NAME[=VALUE] settles its condition, as a compiler's -D does";

// The formats the text commands write a picture in, by OUT's ending.
inline constexpr PictureFormat kTextCommandFormats[] = {PictureFormat::Drawing, PictureFormat::Pbm, PictureFormat::Xbm};
// Those of the commands that draw with Qt, which write PNG images too.
inline constexpr PictureFormat kImageCommandFormats[] = {PictureFormat::Drawing, PictureFormat::Pbm, PictureFormat::Xbm,
                                                         PictureFormat::Png};
// A usage error, before anything is read, unless OUT is standard output or
// its name asks for one of the formats `written` the command writes; the
// error lists `alsoWritten` too, an ending the command takes before asking.
void ExpectPictureName(const Arguments &arguments, const std::string &out, std::span<const PictureFormat> written,
                       std::string_view alsoWritten = {});
// Loads the drawing as the window's Open would into a picture fresh from start-up.
FileStatus LoadFresh(const std::string &file, std::istream &in, DotGrid &grid);
// Writes as Save does, or to standard output.
int WriteDrawing(const DotGrid &grid, const std::string &outPath, std::ostream &out, std::ostream &err);
// Refuses an `out` that is the very file of one of `inputs`, through links
// too, for a command that would replace that input with another kind of file
// (a drawing over C source, a header over a drawing). An input '-' is the file
// standard input reads, if any; an `out` '-' is standard output, never a file.
FileStatus OutputSparesInputs(const std::filesystem::path &out, std::span<const std::string> inputs);
// How a message names an input: "file" quoted, or standard input for '-'.
std::string SourceName(const std::string &source);
// One file of the set --each writes: neither an input nor a folder. Checked
// for every file before the first is written, so a refusal leaves none behind.
FileStatus EachFileIsWritable(const std::filesystem::path &file, std::span<const std::string> inputs);
// The set as a C header in OUT ('-': standard output), made by the command
// line `args`; an existing OUT that holds code the header would lose is
// refused. `name`: an animation's NAME; `layout`: the arrays' (BitLayout).
int WriteSetHeader(const Document &set, const std::string &out, const std::optional<std::string> &name,
                   const std::vector<std::string> &args, Streams &streams, BitLayout layout = BitLayout::Module);
// The source's text, standard input's for '-', up to 16 MiB.
FileStatus ReadSource(const std::string &source, std::istream &in, std::string &text);
// What one input of header, font or send gives: a drawing file one picture
// named after it; any other file is C source, each of whose pictures comes
// with its name, delay and, where the source says it, type. Arrays that are
// no pictures are named on standard error, the first few of them. `defines`
// settles the source's conditions as --define gives them.
FileStatus ReadSourcePictures(const std::string &file, LcdType typeIfUnsaid, Streams &streams, SetPart &read,
                              const CommandLineDefines &defines);
// The dots of a picture of another size than 16 x 16: in its layout, or the
// likeliest reading of it, whose layout `guessed` then names.
Dots SizedDots(const std::vector<std::uint8_t> &bytes, PictureSize size, std::optional<BitLayout> layout, LcdType type,
               std::string &guessed);
// --define's NAME[=VALUE]s, each as a compiler's -D: NAME alone is NAME=1.
CommandLineDefines ReadDefines(const Arguments &arguments);
// --type 0|1, when given.
void ApplyTypeOption(const Arguments &arguments, DotGrid &grid);
// The picture's size `text` names ("128x64"), or a usage error for `what`
// (--size, an operation) that names the range each side may take.
PictureSize PictureSizeValue(std::string_view what, const std::string &text);
// --size WxH, the one option that gives a picture's size, when given.
std::optional<PictureSize> SizeOption(const Arguments &arguments);

// The array's name for a drawing file: the file's, "picture" for standard input.
std::string ArrayName(const std::string &file);
// One row of the picture as the window shows it, '#' set and '.' clear.
std::string ShownRow(const DotGrid::Dots &dots, LcdType type, int row);
// The note on arrays passed over, when there is one.
void NotePassedOver(const std::string &lines, std::ostream &err);

} // namespace tessaldo
