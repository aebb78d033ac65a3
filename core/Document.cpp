#include "Document.h"

#include "CodeFormats.h"
#include "DrawingFile.h"

#include <algorithm>

namespace tessaldo {

std::string DistinctName(const std::string &base, const std::function<bool(const std::string &)> &taken)
{
    std::string whole = base.substr(0, kMaxNameLength);
    if (!taken(whole))
        return whole;
    std::string stem = whole;
    if (const std::size_t cut = stem.find_last_not_of("0123456789");
        cut != std::string::npos && cut + 1 < stem.size() && stem[cut] == '_')
        stem.erase(cut);
    for (int number = 2;; ++number) {
        const std::string suffix = "_" + std::to_string(number);
        std::string name = stem.substr(0, kMaxNameLength - suffix.size()) + suffix;
        if (!taken(name))
            return name;
    }
}

std::string NameRuleBroken(std::string_view name)
{
    if (IsUsableName(name))
        return {};
    if (name.size() > kMaxNameLength)
        return "is longer than " + std::to_string(kMaxNameLength) + " characters";
    const auto isNameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    };
    if (name.empty() || (name.front() >= '0' && name.front() <= '9')
        || !std::all_of(name.begin(), name.end(), isNameChar))
        return "is no C identifier: letters, digits and '_', not starting with a digit";
    return "is a keyword of C or C++";
}

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
