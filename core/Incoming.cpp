#include "Incoming.h"

#include "CodeReader.h"
#include "SetHeader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tessaldo {

namespace {

// `suffix` in lower case.
bool EndsWithoutCase(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size()
           && std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                         [](char want, char got) { return want == std::tolower(static_cast<unsigned char>(got)); });
}

bool IsDrawingFileName(std::string_view name)
{
    return EndsWithoutCase(name, ".lcd");
}

// One picture in the layout its code tells; in the module's, with every
// reading to pick from, when it tells none.
Routed OnePicture(const PickedPicture &picked, LcdType type)
{
    if (!picked.bytes)
        return {IncomingKind::Code, std::nullopt, {}, picked.problem, {}};
    Routed routed{IncomingKind::Code, DotsOfPicture(*picked.bytes, picked.layout, type), {}, {}, {}};
    if (!picked.layout) {
        routed.candidates = RankLayouts(*picked.bytes, type);
        if (routed.candidates.size() < 2)
            routed.candidates.clear();
    }
    return routed;
}

// Code of several pictures, a header of icons say, brings them all; a header
// of this program with its frames' names and delays.
Routed CodeFrom(const std::string &text, LcdType type)
{
    const CodeReading reading = FindSetPictures(text).reading;
    if (reading.pictures.size() < 2)
        return OnePicture(PickPicture(reading, std::nullopt), type);
    Routed routed{IncomingKind::Code, std::nullopt, {}, {}, {}};
    if (const SetReading set = ReadSet(text, type); set.set) {
        routed.pictures = set.set->pictures;
        return routed;
    }
    for (const CodePicture &picture : reading.pictures) {
        if (!picture.problem.empty())
            return {IncomingKind::Code, std::nullopt, {}, picture.problem, {}};
        routed.pictures.push_back(
            Picture{picture.name, Picture{}.delayMs, DotsOfPicture(picture.bytes, picture.layout, type)});
    }
    return routed;
}

} // namespace

Routed RouteIncoming(const Incoming &incoming)
{
    if (incoming.image)
        return {IncomingKind::Image, std::nullopt, {}, {}, {}};
    if (!incoming.fileName.empty())
        return {IsDrawingFileName(incoming.fileName) ? IncomingKind::DrawingFile : IncomingKind::ImageFile,
                std::nullopt,
                {},
                {},
                {}};
    if (incoming.text)
        return CodeFrom(*incoming.text, incoming.type);
    return {IncomingKind::Nothing, std::nullopt, {}, "the clipboard holds no image, file or code", {}};
}

bool IsSourceFileName(std::string_view name)
{
    constexpr std::array kSuffixes{".h", ".hh", ".hpp", ".c", ".cc", ".cpp", ".cxx", ".ino", ".txt"};
    return std::any_of(kSuffixes.begin(), kSuffixes.end(),
                       [name](std::string_view suffix) { return EndsWithoutCase(name, suffix); });
}

std::string CannotPaste(const Routed &routed)
{
    return "Cannot paste: " + routed.problem + ".";
}

} // namespace tessaldo
