// How the core's values cross to the page. A picture crosses as its type (0
// or 1) and a string of a character a dot, '1' for a set dot; bytes cross as
// Uint8Arrays.
#pragma once

#include "core/code/LayoutGuess.h"
#include "core/model/Document.h"
#include "core/model/DotGrid.h"

#include <emscripten/val.h>

#include <optional>
#include <string>
#include <vector>

namespace tessaldo::page {

LcdType TypeOf(int type);
DotGrid GridFrom(int type, const std::string &dots);
std::string DotsOf(const DotGrid::Dots &dots);

std::string BytesOf(const emscripten::val &array);
emscripten::val Uint8Array(std::string_view bytes);

// Dots of `size` from a character a dot, '1' for set; those the text lacks clear.
Dots DotsFrom(const std::string &text, PictureSize size);
// A picture of a set as the page sees it: {name, delayMs, dots, width, height}.
emscripten::val PictureValue(const Picture &picture);
Picture PictureFrom(const emscripten::val &value);

// The user's answer to "Which Layout?": a layout's name, or "" before there is one.
std::optional<BitLayout> AnsweredLayout(const std::string &name);
// Readings to ask about, [{name, layout, pictures, width, height, size}], each picture its dots, the likeliest reading
// first, at the size the reading gives (size: "128 x 64").
emscripten::val ChoicesValue(const std::vector<LayoutChoice> &choices);

} // namespace tessaldo::page
