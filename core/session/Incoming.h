#pragma once

#include "core/code/LayoutGuess.h"
#include "core/model/Document.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// What a paste or a drop brings, as the window or the page found it.
struct Incoming {
    bool image = false;              // a picture already decoded
    std::string fileName;            // a file named there, empty for none
    std::optional<std::string> text; // text, read as code when nothing else came
    LcdType type = LcdType::Column;  // the grid's: other displays' layouts are read as it shows them
};

enum class IncomingKind {
    Nothing,     // nothing to take: `problem` says so
    Image,       // the decoded picture, to import
    DrawingFile, // a .Lcd file, to open
    SourceFile,  // a header, a source or a text of code (IsSourceFileName), to open as a set
    ImageFile,   // any other file, to import (its reader refuses what is no image)
    Code,        // code that reads as a picture: `dots`; as several: `pictures`; or as none: `problem`
};

struct Routed {
    IncomingKind kind = IncomingKind::Nothing;
    std::optional<DotGrid::Dots> dots;
    std::vector<Picture> pictures; // each named by its array, in the code's order
    std::string problem;
    // Code of pictures whose layout it does not tell, routed with no layout
    // for them: their readings under each layout, the likeliest over all of
    // them first, for the user to pick one for all; `dots` and `pictures`
    // are then the module's reading. Empty when every layout shows the same.
    std::vector<LayoutChoice> candidates;

    // Whether a paste would take anything, rather than only say why not.
    bool Takes() const { return kind != IncomingKind::Nothing && problem.empty(); }
};

// An image comes before a file, a file before text. Code that does not tell
// its pictures' layout is read in `unsaidLayout`, the user's answer. One
// array that tells neither its size nor its layout, only a length that
// common displays' sizes fit, gives a candidate for each size and layout,
// each with its `size`; it is read at `unsaidSize` in `unsaidLayout`, the
// user's answer, and with a layout alone at the likeliest size in it.
Routed RouteIncoming(const Incoming &incoming, std::optional<BitLayout> unsaidLayout = std::nullopt,
                     std::optional<PictureSize> unsaidSize = std::nullopt);

// A file of code by its name: a C header or source (icons.h, main.c,
// sketch.ino) or plain text (code.txt, as Run's lines are kept), which a drop
// or Open Set reads as a set of pictures.
bool IsSourceFileName(std::string_view name);
// Those names' endings, ".h" first, as a file dialog's filter lists them.
std::span<const std::string_view> SourceFileSuffixes();

// The message for a paste that takes nothing.
std::string CannotPaste(const Routed &routed);

} // namespace tessaldo
