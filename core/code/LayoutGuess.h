#pragma once

#include "core/model/BitLayout.h"
#include "core/model/DotGrid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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
// `type` shows it (at any size other than 16 x 16 the type plays no part): each pair of neighbouring dots, across and
// down, that differ counts one. Around the picture lies its background (the colour most of its dots have, clear on a
// tie), and each dot on the edge that differs from it counts two: icons and glyphs are drawn with a margin, and a wrong
// reading moves their middle to the edges. Each separate piece of the
// drawing, dots of its colour that touch (diagonally too), adds eight. A
// drawing's few connected shapes have little border; noise, and a drawing
// torn apart, have much border in many pieces.
int Roughness(const DotGrid::Dots &dots, LcdType type);

// One picture the bytes may be, and the layouts that read them as it.
struct LayoutCandidate {
    std::vector<BitLayout> layouts; // module, rows, xbm, pages, as many as read the bytes so
    DotGrid::Dots dots{};           // as `type` shows them, at the size they are read at
    int roughness = 0;
};

// The pictures the bytes show in `type` under each layout, each picture once,
// the least rough first; on a tie the module's, rows, xbm, then pages.
std::vector<LayoutCandidate> RankLayouts(const PictureBytes &bytes, LcdType type);

// The candidate's layouts by name: "module", or "module/xbm" when both show it.
std::string CandidateName(const LayoutCandidate &candidate);

// The sizes of common displays, landscape and then portrait: a u8x8 tile, the
// module, icons, the Nokia 5110 (PCD8544), SSD1306 and SH1106 OLEDs, and
// e-paper from 1.54 to 7.5 inches.
inline constexpr std::array kDisplaySizes{
    PictureSize{8, 8},     PictureSize{16, 16},   PictureSize{32, 32},   PictureSize{84, 48},   PictureSize{128, 32},
    PictureSize{128, 64},  PictureSize{128, 128}, PictureSize{200, 200}, PictureSize{250, 122}, PictureSize{296, 128},
    PictureSize{400, 300}, PictureSize{800, 480}, PictureSize{400, 240}, PictureSize{48, 84},   PictureSize{32, 128},
    PictureSize{64, 128},  PictureSize{122, 250}, PictureSize{128, 296}, PictureSize{300, 400}, PictureSize{480, 800},
    PictureSize{240, 400}};

// The sizes whose pictures take `count` bytes in a layout of
// kSizedGuessOrder: the common displays' first, then with `all` every other
// whose rows or pages are whole bytes.
std::vector<PictureSize> SizesTaking(std::size_t count, bool all);

// The layouts a guess weighs away from 16 x 16, in the order of a tie: the
// module takes 16 x 16 only; rows before XBM as above, then pages, then
// u8x8's tiles, which hold the very bytes of pages where the sides are whole tiles.
inline constexpr std::array kSizedGuessOrder{BitLayout::Rows, BitLayout::Xbm, BitLayout::Pages, BitLayout::Tiles};

// The pictures `bytes` show at each of `sizes` under each layout of
// kSizedGuessOrder that takes exactly that many bytes there, each picture
// once, the least rough first; on a tie in the order of `sizes`, then of the
// layouts. Only those that read as `told` does, where the code tells a layout.
std::vector<LayoutCandidate> RankSizedLayouts(std::span<const std::uint8_t> bytes, std::span<const PictureSize> sizes,
                                              LcdType type, std::optional<BitLayout> told = std::nullopt);

// One way to read every picture of a paste or a set whose code says no
// layout: a set of icons is drawn for one display, so one answer does for
// all of them, and the layout that draws them all least rough is likeliest.
struct LayoutChoice {
    std::vector<BitLayout> layouts;   // module, rows, xbm, pages, as many as read every picture alike
    std::vector<DotGrid::Dots> shown; // the first kChoiceShown pictures so read, as `type` shows them
    long long roughness = 0;          // over all of them, each picture against its smoothest reading
    PictureSize size; // the pictures' size under this reading: the module's unless the bytes say another
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
