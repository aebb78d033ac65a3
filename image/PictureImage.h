#pragma once

#include "core/convert/PixelsToDots.h"
#include "core/model/Document.h"
#include "core/model/DotGrid.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QIODevice;

namespace tessaldo {

inline constexpr int kMaxPngScale = 64;
// The brightness of every pixel as seen on a white background, by qGray.
GreyImage GreyFromImage(const QImage &image);

// The most frames an animation may have; more are refused before any is used.
inline constexpr int kMaxFrames = 10'000;

// One frame of an image as a viewer shows it at that moment, reduced to the
// greys of a picture's cells for every fit, and how long it stays.
struct FrameGreys {
    std::array<CellGreys, 3> byFit{}; // indexed by Fit, each the picture's size
    int delayMs = 0;
    int width = 0; // the image's size in pixels
    int height = 0;
    std::optional<ScreenCells> dotForDot; // an XBM's or PBM's own pixels at the picture's size, which no option changes
};
FrameGreys FrameFromGreys(const GreyImage &image, int delayMs, PictureSize size = kModuleSize);

// Decodes the image file's first frame, turned as its EXIF orientation says,
// for a picture of `size`, or says why it cannot be used.
bool ReadFirstFrame(const QString &path, FrameGreys &frame, std::string &error, PictureSize size = kModuleSize);
// The same for an image that is already in memory, such as standard input.
bool ReadFirstFrame(QIODevice &device, FrameGreys &frame, std::string &error, PictureSize size = kModuleSize);
// The frame as a picture of that type and of the frame's size, turned into dots as the options say.
DotGrid FramePicture(const FrameGreys &frame, LcdType type, const DotOptions &options);

// An image as a set: an animation's frames `name`_000, `name`_001, ... with
// their delays, or a still image as one picture named `name`.
Document SetFromFrames(const std::vector<FrameGreys> &frames, LcdType type, const DotOptions &options,
                       const std::string &name);

// Decodes every frame of the image file (one for a still image), each whole
// as composed over the ones before, or says why it cannot be used. The
// megapixel limit holds for each frame. XBM and PBM files are read by the
// core's reader, as the page and the command line read them.
// `progress` hears how many frames are read and how many there are (0 while
// that is not known) before each frame; when it answers false the reading
// stops, and ReadFrameGreys returns false with an empty error.
using FrameProgress = std::function<bool(int read, int count)>;
bool ReadFrameGreys(const QString &path, std::vector<FrameGreys> &frames, std::string &error,
                    const FrameProgress &progress = {}, PictureSize size = kModuleSize);
bool ReadFrameGreys(QIODevice &device, std::vector<FrameGreys> &frames, std::string &error,
                    const FrameProgress &progress = {}, PictureSize size = kModuleSize);

// The picture as the window shows it for its type: each dot `scale` pixels
// square, black on white, with one-pixel grid lines from scale 4 up.
QImage ImageFromPicture(const DotGrid &grid, int scale);
// The size in pixels of that image.
QSize PictureImageSize(const DotGrid &grid, int scale);

} // namespace tessaldo
