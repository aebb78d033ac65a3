#pragma once

#include "core/model/BitLayout.h"
#include "core/model/DotGrid.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// 32 bytes from a display whose library is not known carry no word of their
// layout; what tells it is which reading looks drawn. Reading a picture in
// the wrong layout scatters its dots: runs of a row become bits of columns,
// halves of rows swap or mirror, so a drawing's few long outlines break
// into many short ones.
namespace tessaldo {

// How much border there is between set and clear dots of the picture as
// `type` shows it: each pair of neighbouring dots, across and down, that
// differ counts one. Around the picture lies its background (the colour most
// of its dots have, clear on a tie), and each dot on the edge that differs
// from it counts two: icons and glyphs are drawn with a margin, and a wrong
// reading moves their middle to the edges. Each separate piece of the
// drawing, dots of its colour that touch (diagonally too), adds eight. A
// drawing's few connected shapes have little border; noise, and a drawing
// torn apart, have much border in many pieces.
int Roughness(const DotGrid::Dots &dots, LcdType type);

// One picture the bytes may be, and the layouts that read them as it.
struct LayoutCandidate {
    std::vector<BitLayout> layouts; // module, rows, xbm, pages, as many as read the bytes so
    DotGrid::Dots dots{};           // as `type` shows them
    int roughness = 0;
};

// The pictures the bytes show in `type` under each layout, each picture once,
// the least rough first; on a tie the module's, rows, xbm, then pages.
std::vector<LayoutCandidate> RankLayouts(const PictureBytes &bytes, LcdType type);

// The candidate's layouts by name: "module", or "module/xbm" when both show it.
std::string CandidateName(const LayoutCandidate &candidate);

// One way to read every picture of a paste or a set whose code says no
// layout: a set of icons is drawn for one display, so one answer does for
// all of them, and the layout that draws them all least rough is likeliest.
struct LayoutChoice {
    std::vector<BitLayout> layouts;   // module, rows, xbm, pages, as many as read every picture alike
    std::vector<DotGrid::Dots> shown; // the first kChoiceShown pictures so read, as `type` shows them
    long long roughness = 0;          // over all of them, each picture against its smoothest reading
};
inline constexpr std::size_t kChoiceShown = 4;

// The readings of all `pictures` in `type`, each once, the least rough over
// all of them first, each picture weighing alike; on a tie the module's,
// rows, xbm, then pages.
std::vector<LayoutChoice> RankSetLayouts(std::span<const PictureBytes> pictures, LcdType type);

// The layouts by the names "C Array Form" gives them: "Adafruit GFX
// drawBitmap", or "Module C Array or XBM for u8g2" when both read alike.
std::string LayoutChoiceName(const LayoutChoice &choice);

} // namespace tessaldo
