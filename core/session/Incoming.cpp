#include "core/session/Incoming.h"

#include "core/code/CodeReader.h"
#include "core/formats/SetHeader.h"
#include "core/model/PictureName.h"

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

IncomingKind FileKind(std::string_view name)
{
    if (EndsInDrawingSuffix(name))
        return IncomingKind::DrawingFile;
    return IsSourceFileName(name) ? IncomingKind::SourceFile : IncomingKind::ImageFile;
}

// One picture in the layout its code tells; in the module's, with every
// reading to pick from, when it tells none.
Routed OnePicture(const PickedPicture &picked, LcdType type, std::optional<BitLayout> unsaidLayout)
{
    if (!picked.bytes)
        return {IncomingKind::Code, std::nullopt, {}, picked.problem, {}};
    const std::optional<BitLayout> layout = picked.layout ? picked.layout : unsaidLayout;
    Routed routed{IncomingKind::Code, DotsOfPicture(*picked.bytes, layout, type), {}, {}, {}};
    if (!layout) {
        routed.candidates = RankSetLayouts({&*picked.bytes, 1}, type);
        if (routed.candidates.size() < 2)
            routed.candidates.clear();
    }
    return routed;
}

// Code of several pictures, a header of icons say, brings them all; a header
// of this program with its frames' names and delays.
Routed CodeFrom(const std::string &text, LcdType type, std::optional<BitLayout> unsaidLayout)
{
    const CodeReading reading = FindSetPictures(text).reading;
    if (reading.pictures.size() < 2)
        return OnePicture(PickPicture(reading, std::nullopt), type, unsaidLayout);
    Routed routed{IncomingKind::Code, std::nullopt, {}, {}, {}};
    if (SetReading set = ReadSet(text, type, {}, unsaidLayout); set.set) {
        routed.pictures = set.set->pictures;
        routed.candidates = std::move(set.choices);
        return routed;
    }
    // Names that clash within the code are no reason to refuse it: the set makes them unique.
    std::vector<PictureBytes> unsaid;
    for (const CodePicture &picture : reading.pictures) {
        if (!picture.problem.empty())
            return {IncomingKind::Code, std::nullopt, {}, picture.problem, {}};
        const std::optional<BitLayout> layout = picture.layout ? picture.layout : unsaidLayout;
        if (!layout)
            unsaid.push_back(picture.bytes);
        routed.pictures.push_back(Picture{picture.name, Picture{}.delayMs, DotsOfPicture(picture.bytes, layout, type)});
    }
    if (!unsaid.empty())
        routed.candidates = RankSetLayouts(unsaid, type);
    if (routed.candidates.size() < 2)
        routed.candidates.clear();
    return routed;
}

} // namespace

Routed RouteIncoming(const Incoming &incoming, std::optional<BitLayout> unsaidLayout)
{
    if (incoming.image)
        return {IncomingKind::Image, std::nullopt, {}, {}, {}};
    if (!incoming.fileName.empty())
        return {FileKind(incoming.fileName), std::nullopt, {}, {}, {}};
    if (incoming.text)
        return CodeFrom(*incoming.text, incoming.type, unsaidLayout);
    return {IncomingKind::Nothing, std::nullopt, {}, "the clipboard holds no image, file or code", {}};
}

std::span<const std::string_view> SourceFileSuffixes()
{
    static constexpr std::array<std::string_view, 8> kSuffixes{".h",  ".hh",  ".hpp", ".c",
                                                               ".cc", ".cpp", ".cxx", ".ino"};
    return kSuffixes;
}

bool IsSourceFileName(std::string_view name)
{
    // A .txt of code is no source file by name, but holds code as one does.
    const auto suffixes = SourceFileSuffixes();
    return EndsWithoutCase(name, ".txt")
           || std::any_of(suffixes.begin(), suffixes.end(),
                          [name](std::string_view suffix) { return EndsWithoutCase(name, suffix); });
}

std::string CannotPaste(const Routed &routed)
{
    return "Cannot paste: " + routed.problem + ".";
}

} // namespace tessaldo
