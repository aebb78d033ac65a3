#include "Document.h"

namespace tessaldo {

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
