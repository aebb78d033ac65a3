#include "core/formats/PngPixels.h"
#include "PngChunks.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tessaldo;

namespace {

const std::string kEnd = PngChunk("IEND", "");

// The greys of the file whose image data inflates to `rows`, or nothing when it cannot be decoded.
std::optional<std::vector<std::uint8_t>> Greys(const std::string &file, const std::string &rows)
{
    PngPixels png(file);
    png.Add(rows);
    if (!png.Complete())
        return std::nullopt;
    return png.TakeGreys().pixels;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

} // namespace

TEST(PngPixels, SamplesBecomeTheDesktopsGreysAtTheirPlaces)
{
    // 16-bit samples are rounded to 8 bits, where a canvas keeps the high byte.
    const std::string grey16 = PngStart(4, 1, 16, 0) + PngChunk("IDAT", "z") + kEnd;
    EXPECT_EQ(Greys(grey16, Bytes({0, 0x00, 0x80, 0x00, 0x81, 0x01, 0x81, 0x01, 0x82})),
              (std::vector<std::uint8_t>{0, 1, 1, 2}));

    // Seven passes, some empty for so small an image, the last with the Sub filter.
    const std::string interlaced = PngStart(3, 3, 8, 0, true) + PngChunk("IDAT", "z") + kEnd;
    EXPECT_EQ(Greys(interlaced, Bytes({0, 10, 0, 20, 0, 30, 40, 0, 50, 0, 60, 1, 70, 10, 10})),
              (std::vector<std::uint8_t>{10, 50, 20, 70, 80, 90, 30, 60, 40}));

    // A half-transparent entry over white; indices past the palette take its first entry.
    const std::string palette = PngStart(4, 1, 2, 3) + PngChunk("PLTE", Bytes({0, 0, 0, 0, 0, 0}))
                                + PngChunk("tRNS", Bytes({128})) + PngChunk("IDAT", "z") + kEnd;
    EXPECT_EQ(Greys(palette, Bytes({0, 0b00011011})), (std::vector<std::uint8_t>{127, 0, 127, 127}));
    // ... but white in a two-colour image, and a transparency chunk whose checksum fails is left out.
    std::string twoColours = PngStart(2, 1, 1, 3) + PngChunk("PLTE", Bytes({0, 0, 0})) + PngChunk("tRNS", Bytes({0}))
                             + PngChunk("IDAT", "z") + kEnd;
    twoColours[twoColours.find("tRNS") + 5] ^= 1;
    EXPECT_EQ(Greys(twoColours, Bytes({0, 0b01000000})), (std::vector<std::uint8_t>{0, 255}));
    // An 8-bit colour is transparent when it matches the low bytes of the transparent one.
    const std::string keyed =
        PngStart(2, 1, 8, 2) + PngChunk("tRNS", Bytes({1, 0, 0, 0, 0, 0})) + PngChunk("IDAT", "z") + kEnd;
    EXPECT_EQ(Greys(keyed, Bytes({0, 0, 0, 0, 0, 0, 40})), (std::vector<std::uint8_t>{255, 6}));
}

TEST(PngPixels, DamagedFilesAreRefusedAndDataPastTheRowsIgnored)
{
    const std::string file = PngStart(2, 2, 8, 0) + PngChunk("IDAT", "z") + kEnd;
    const std::string rows = Bytes({0, 1, 2, 2, 5, 5});
    EXPECT_EQ(Greys(file, rows), (std::vector<std::uint8_t>{1, 2, 6, 7}));
    EXPECT_EQ(Greys(file, rows + "extra"), Greys(file, rows));
    EXPECT_EQ(Greys(file, rows.substr(0, 5)), std::nullopt);
    EXPECT_EQ(Greys(file, Bytes({5, 1, 2, 0, 5, 5})), std::nullopt); // no such filter

    std::string badChecksum = file;
    badChecksum[badChecksum.find("IDAT") + 5] ^= 1;
    for (const std::string &damaged :
         {file.substr(0, file.size() - 14), badChecksum, PngStart(2, 2, 8, 3) + PngChunk("IDAT", "z") + kEnd,
          PngStart(0, 2, 8, 0) + PngChunk("IDAT", "z") + kEnd, PngStart(2, 2, 16, 3) + PngChunk("IDAT", "z") + kEnd,
          PngStart(2, 2, 8, 0) + kEnd, PngStart(2, 2, 8, 0) + PngChunk("IDAT", "z"),
          PngStart(2, 2, 8, 0) + PngChunk("ABCD", "") + PngChunk("IDAT", "z") + kEnd}) {
        PngPixels png(damaged);
        EXPECT_TRUE(png.Damaged());
        png.Add(rows);
        EXPECT_FALSE(png.Complete());
    }
}
