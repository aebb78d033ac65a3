#pragma once

#include "core/convert/PixelsToDots.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaldo {

// A PNG decoded to the greys the desktop's image reader gives for it, sample
// for sample, where a browser's canvas would keep only 8 bits of a 16-bit
// sample or premultiply a half-transparent pixel. The caller inflates the
// compressed data (a zlib stream) and hands it over in pieces of any size.
class PngPixels {
public:
    // Reads the chunks before and around the image data; Damaged() tells
    // whether the file can be decoded at all.
    explicit PngPixels(std::string_view file);

    bool Damaged() const { return m_damaged; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The image data chunks joined: the zlib stream to inflate.
    const std::string &Compressed() const { return m_compressed; }

    // The next inflated bytes; data past the last row is ignored, as the
    // desktop's reader does.
    void Add(std::string_view inflated);
    // Every row arrived, none with an unknown filter.
    bool Complete() const;
    GreyImage TakeGreys();

private:
    bool ReadHeader(std::string_view data);
    void ReadPalette(std::string_view data);
    void ReadTransparency(std::string_view data);
    void StartPass();
    void FinishRow();
    bool Unfilter();
    std::uint8_t Grey(int x) const;
    int Sample(int index) const;
    int Channel(int value) const;

    bool m_damaged = true;
    int m_width = 0;
    int m_height = 0;
    int m_depth = 0;
    int m_colour = 0;
    bool m_interlaced = false;
    std::string m_compressed;
    std::vector<std::array<std::uint8_t, 4>> m_palette;
    bool m_hasKey = false;
    std::array<int, 3> m_key{}; // the colour, or grey, that is transparent

    GreyImage m_greys;
    int m_pass = 0;
    int m_row = 0; // within the pass
    int m_passWidth = 0;
    int m_passHeight = 0;
    std::vector<std::uint8_t> m_line; // the filter byte and the row being filled
    std::vector<std::uint8_t> m_previous;
    std::size_t m_filled = 0;
};

} // namespace tessaldo
