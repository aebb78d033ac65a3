// A font in the page's session: opened as the set of its glyphs with its
// metrics, and the set saved as a font file. The session's binding carries
// these out on its own session.
#pragma once

#include "core/model/Displays.h"
#include "core/session/DisplayPreview.h"
#include "core/session/EditSession.h"

#include <emscripten/val.h>

#include <string>

namespace tessaldo::page {

// The font in `bytes` (BDF, a u8g2 font's C source, a GFXfont header; where
// `drawn`, the BDF text web/raster/ drew of the TrueType or OpenType font
// `fileName`) opened in `session` as the set of its glyphs: {problem, note},
// the problem the whole message when nothing was opened, the note the flaws
// it was read in spite of.
emscripten::val OpenFont(EditSession &session, const std::string &fileName, const emscripten::val &bytes, bool drawn);

// The set as the font file `fileName` names by its ending (.bdf, u8g2's .c,
// a GFXfont's .h), its C name after the file's, a u8g2 font built in `mode`
// (U8g2Mode's value, as bdfconv's -b): {text, problem}.
emscripten::val FontFile(const EditSession &session, const std::string &fileName, int mode);

// What the display preview shows on `display`: a line of `sample` in the
// font, as the library draws it, where the set is a font's and there is a
// sample; else the picture, as PreviewOnDisplay shows it.
DisplayPreview PreviewOf(const EditSession &session, const Display &display, const std::string &sample);

} // namespace tessaldo::page
