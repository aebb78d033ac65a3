#pragma once

#include "core/code/CodeReader.h"
#include "core/code/LayoutGuess.h"
#include "core/model/Document.h"
#include "core/platform/FileStatus.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A set of pictures saved as the C header firmware includes: the arrays, then
// an index of them with the set's type and delays, so that the header alone
// gives the set back exactly.
namespace tessaldo {

// The header's text, or why the set cannot make one (a sentence for the user).
struct SetText {
    std::string text;
    std::string problem;
};
// The header for the set, saved as `file`: its name gives the set's NAME and
// the include guard (icons.h: icons, ICONS_H); with no file (standard output),
// the first picture's name does (tessaldo_arrow). `name` is the NAME an
// animation was given; it overrides the file's. In any other `layout` than
// the module's, each picture is its bytes in that layout (32 at 16 x 16), of
// the picture as the screen shows it, and the header says which layout it
// is. Pictures of another size, which share one, take another layout, and
// the header says their NAME_WIDTH and NAME_HEIGHT.
// The layout of a header of pictures of another size than 16 x 16 where none
// is asked for: X BitMap rows, the order of the PBM and XBM files such
// pictures come from, which u8g2's drawXBM draws on any of its displays.
inline constexpr BitLayout kSizedSetLayout = BitLayout::Xbm;
// The module's layout for 16 x 16 pictures, kSizedSetLayout for others.
constexpr BitLayout DefaultSetLayout(PictureSize size)
{
    return IsModuleSize(size) ? BitLayout::Module : kSizedSetLayout;
}
SetText FormatSetHeader(const Document &set, const std::optional<std::filesystem::path> &file, std::string_view command,
                        const std::optional<std::string> &name = std::nullopt, BitLayout layout = BitLayout::Module);

// The pictures of a text before they become a set: in a header of this
// program, frames named as it names them and its index arrays left out.
struct SetCode {
    CodeReading reading;
    std::optional<LcdType> type; // the type the header states
    std::string name;            // the set's NAME in a header of this program
    std::string cutNames;        // names cut to kMaxNameLength: "long is now cut, ...", "" for none
};
// `sizes`: which sizes are read, as FindPicturesInCode reads them.
SetCode FindSetPictures(std::string_view text, const PassedOverNote &note = {}, const CommandLineDefines &defines = {},
                        const SizeReading &sizes = {});

struct SetReading {
    std::optional<Document> set;          // every picture of the text in order; nullopt when it holds none usable
    std::string problem;                  // why not: the reader's reasons, names that clash
    bool branchesDiffer = false;          // the problem is two pictures of one name that only defines tell apart
    bool ownHeader = false;               // a header this program wrote, unchanged since: saving over it loses nothing
    bool typeSaid = false;                // the text states the set's type
    std::string name;                     // the set's NAME in a header of this program
    BitLayout layout = BitLayout::Module; // the layout the header says its arrays are in, with its type
    std::size_t passedOver = 0;           // as CodeReading: arrays that are no pictures
    std::vector<std::string> firstPassedOver;
    std::string cutNames; // as SetCode's
    // Pictures whose code says no layout, read in `unsaidLayout`, or with no
    // answer yet in the module's: the readings to ask the user about, the
    // likeliest first. Empty when there was an answer, or nothing to ask.
    std::vector<LayoutChoice> choices;
};
// Any C source. A header of this program gives back names, order, delays,
// type, form and layout exactly; another source gives every picture under its array's
// name (frames of an N x 33 array as NAME_000, ...) with a delay of 100 ms
// and `typeIfUnsaid`.
// `defines` settles conditions as a compiler's command line does.
SetReading ReadSet(std::string_view text, LcdType typeIfUnsaid, const PassedOverNote &note = {},
                   std::optional<BitLayout> unsaidLayout = std::nullopt, const CommandLineDefines &defines = {});

// "Passed over in WHERE: why.": what a reading left out of WHERE ("\"icons.h\"", "standard input"), and why.
std::string PassedOverIn(std::string_view where, std::string_view why);
// One line "Passed over in WHERE: why." for each of the first few arrays
// passed over (WHERE "\"icons.h\"" or "standard input"), then how many more
// there were; "" when none was.
std::string PassedOverLines(std::string_view where, std::size_t passedOver, const std::vector<std::string> &first);
// PassedOverLines for the file sourceName.
std::string PassedOverText(std::string_view sourceName, const SetReading &reading);
// PassedOverText's note, then which names were cut to fit, "" when neither.
std::string ReadingNote(std::string_view sourceName, const SetReading &reading);

// Whether writing a header over this text loses nothing: it is empty, or a
// header this program wrote (this form or the earlier one without an index)
// with nothing added by hand.
bool SafeToOverwrite(std::string_view existingText);

// Whether the set can be saved as a folder at all: names that are no C
// identifiers, a folder in the place of a file, or names that clash without
// case, which some file systems take for one file, refuse it.
FileStatus CheckSetFolder(const Document &set, const std::filesystem::path &folder);
// The files in `folder` that saving the set there would change: those of its
// pictures' names that hold other bytes than it would write. Sorted by name.
std::vector<std::filesystem::path> DrawingsReplaced(const Document &set, const std::filesystem::path &folder);
// "it already holds drawings the set would replace (a.Lcd and b.Lcd)".
std::string ReplacingReason(const std::vector<std::filesystem::path> &replaced);
enum class ReplaceDrawings { No, Yes };
// One NAME.Lcd per picture in `folder`, once CheckSetFolder agrees; drawings
// there that it would change refuse it unless `replace` says Yes. A refusal
// writes nothing.
FileStatus SaveSetFolder(const Document &set, const std::filesystem::path &folder,
                         ReplaceDrawings replace = ReplaceDrawings::No);
// The picture files of `folder` (EndsInPictureSuffix), in name order; `passedOver` gets everything
// else it holds, in name order, for the caller to name. With `leftOut`, as OpenSetFiles.
FileStatus OpenSetFolder(const std::filesystem::path &folder, Document &set,
                         std::vector<std::filesystem::path> &passedOver, std::vector<std::string> *leftOut = nullptr);
// "Passed over in "icons": readme.txt and notes, which are no drawing files (.Lcd)."
std::string FolderPassedOverNote(const std::filesystem::path &folder,
                                 const std::vector<std::filesystem::path> &passedOver);
// Picture files (drawing files, PBMs and XBMs, ReadPictureFile's) as a set
// in the order given, all of one size, each picture named after its
// file. One that cannot be read, or that clashes with those before it in
// name, type or size, refuses them all; with `leftOut`, it is left out instead
// and named there with why, a sentence each, and only none left refuses.
FileStatus OpenSetFiles(std::span<const std::filesystem::path> files, Document &set,
                        std::vector<std::string> *leftOut = nullptr);
// "Left out of the set:" and each file's sentence on a line of its own; "" for none.
std::string LeftOutNote(const std::vector<std::string> &leftOut);

} // namespace tessaldo
