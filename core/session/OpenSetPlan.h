#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tessaldo {

// How Open Set reads the files the user chose together.
enum class SetReader {
    Drawings, // each file as a drawing, in the order chosen, merged; those that are none are named as left out
    Folder,   // the drawing files of one folder
    Image,    // the frames of one image
    Source,   // one header, C source or other text of code
    Refused,  // several files that make no one set
};

// A chosen file as its face sees it: only the face can tell a folder, or an
// image its own readers decode.
struct ChosenFile {
    std::string_view name;
    bool isFolder = false;
    bool isImage = false;
};

struct OpenSetPlan {
    SetReader reader;
    // Why the files make no set, a whole sentence; empty unless Refused.
    std::string refusal;
};

// Any drawing file among the chosen makes them all drawings; else only one
// file makes a set. Whatever the reading, the user is asked about unsaved work
// only once a set has come of it: files of which nothing opens replace nothing.
// `files`: one at least.
OpenSetPlan PlanOpenSet(std::span<const ChosenFile> files);

} // namespace tessaldo
