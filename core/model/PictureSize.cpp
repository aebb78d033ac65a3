#include "core/model/PictureSize.h"

#include <charconv>

namespace tessaldo {

namespace {

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::optional<int> Side(std::string_view text)
{
    text = Trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PictureSize> PictureSizeFromText(std::string_view text)
{
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> width = Side(text.substr(0, by));
    const std::optional<int> height = Side(text.substr(by + 1));
    if (!width || !height || !IsPictureSize({*width, *height}))
        return std::nullopt;
    return PictureSize{*width, *height};
}

std::string PictureSizeText(PictureSize size)
{
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

std::string NotForTheModule(PictureSize size)
{
    return "the module shows " + PictureSizeText(kModuleSize) + " pictures and this one is " + PictureSizeText(size);
}

} // namespace tessaldo
