#pragma once

#include "CommandLine.h"
#include "image/PictureImage.h"

#include <istream>
#include <string>
#include <vector>

// The commands that need Qt, run in tessaldo-cli-qt: ImageCommands() lists
// them with their help, ImageHelperCommands() attaches these.
namespace tessaldo {

// import IMAGE OUT, or --each FOLDER; import FONT.bdf
int Import(const Arguments &arguments, Streams &streams);
// png FILE OUT.png [--scale N]
int Png(const Arguments &arguments, Streams &streams);
// export FILE OUT.png|OUT.xbm|OUT.pbm
int Export(const Arguments &arguments, Streams &streams);
// text TEXT OUT, or --each FOLDER, or --list-fonts
int Text(const Arguments &arguments, Streams &streams);
// send FILE... --port DEVICE
int SendPicture(const Arguments &arguments, Streams &streams);

// Writes the picture to OUT in the format its name asks for: a PNG of a
// pixel a dot for .png, else as WriteDrawing does.
int WritePictureFile(const DotGrid &grid, const std::string &out, Streams &streams);

// The image's frames, or only its first, from a file or standard input ('-'),
// for pictures of `size`; false with `problem` when it cannot be read.
bool ReadImageFrames(const std::string &imagePath, std::istream &in, bool allFrames, std::vector<FrameGreys> &frames,
                     std::string &problem, const FrameProgress &progress, PictureSize size = kModuleSize);

} // namespace tessaldo
