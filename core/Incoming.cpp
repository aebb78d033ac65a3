#include "Incoming.h"

#include "CodeReader.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tessaldo {

namespace {

bool IsDrawingFileName(std::string_view name)
{
    constexpr std::string_view kSuffix = ".lcd";
    return name.size() >= kSuffix.size()
           && std::equal(kSuffix.begin(), kSuffix.end(), name.end() - static_cast<std::ptrdiff_t>(kSuffix.size()),
                         [](char want, char got) { return want == std::tolower(static_cast<unsigned char>(got)); });
}

// Code of several pictures, a header of icons say, brings them all.
Routed CodeFrom(const std::string &text)
{
    const CodeReading reading = FindPicturesInCode(text);
    if (reading.pictures.size() < 2) {
        const PickedPicture picked = PickPicture(reading, std::nullopt);
        if (!picked.bytes)
            return {IncomingKind::Code, std::nullopt, {}, picked.problem};
        return {IncomingKind::Code, DotsFromPictureBytes(*picked.bytes), {}, {}};
    }
    Routed routed{IncomingKind::Code, std::nullopt, {}, {}};
    for (const CodePicture &picture : reading.pictures) {
        if (!picture.problem.empty())
            return {IncomingKind::Code, std::nullopt, {}, picture.problem};
        routed.pictures.push_back(Picture{picture.name, Picture{}.delayMs, DotsFromPictureBytes(picture.bytes)});
    }
    return routed;
}

} // namespace

Routed RouteIncoming(const Incoming &incoming)
{
    if (incoming.image)
        return {IncomingKind::Image, std::nullopt, {}, {}};
    if (!incoming.fileName.empty())
        return {IsDrawingFileName(incoming.fileName) ? IncomingKind::DrawingFile : IncomingKind::ImageFile,
                std::nullopt,
                {},
                {}};
    if (incoming.text)
        return CodeFrom(*incoming.text);
    return {IncomingKind::Nothing, std::nullopt, {}, "the clipboard holds no image, file or code"};
}

std::string CannotPaste(const Routed &routed)
{
    return "Cannot paste: " + routed.problem + ".";
}

} // namespace tessaldo
