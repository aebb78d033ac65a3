#include "core/model/Document.h"

#include <algorithm>

namespace tessaldo {

Document SetOfFrames(std::vector<Picture> frames, LcdType type, const std::string &name)
{
    const bool animated = frames.size() > 1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i].name = animated ? name + "_" + FrameNumberText(i, frames.size()) : name;
        if (!animated)
            frames[i].delayMs = kDefaultDelayMs;
    }
    Document set;
    set.type = type;
    set.form = animated ? SetForm::Frames : SetForm::Pictures;
    set.pictures = std::move(frames);
    return set;
}

std::string PictureAccessibleName(const Document &set, std::size_t index)
{
    return set.pictures.at(index).name + ", picture " + std::to_string(index + 1) + " of "
           + std::to_string(set.pictures.size());
}

std::string PictureAccessibleDescription(const Document &set, std::size_t index)
{
    if (set.form != SetForm::Frames)
        return {};
    return std::to_string(set.pictures.at(index).delayMs) + " ms";
}

} // namespace tessaldo
