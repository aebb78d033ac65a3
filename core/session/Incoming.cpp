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

// The readings as choices of one picture each, the likeliest first; none where only one reads it.
std::vector<LayoutChoice> ChoicesOf(std::vector<LayoutCandidate> candidates)
{
    std::vector<LayoutChoice> choices;
    if (candidates.size() < 2)
        return choices;
    for (LayoutCandidate &candidate : candidates) {
        const PictureSize size = candidate.dots.Size();
        choices.push_back({std::move(candidate.layouts), {std::move(candidate.dots)}, candidate.roughness, size});
    }
    return choices;
}

// A picture of another size than the module's: in the layout its code tells
// or the user chose, else in its likeliest reading, with all of them to pick
// from. An array that tells no size is read at each common display's size.
Routed SizedPicture(const CodeReading &reading, LcdType type, std::optional<BitLayout> unsaidLayout)
{
    const UnsizedArray *unsized = PickUnsized(reading, std::nullopt);
    const PickedPicture picked = PickPicture(reading, std::nullopt);
    if (!unsized && (picked.bytes || !picked.problem.empty()))
        return OnePicture(picked, type, unsaidLayout);
    const std::optional<BitLayout> told = unsized ? unsized->layout : picked.layout;
    const std::optional<BitLayout> layout = told ? told : unsaidLayout;
    if (!unsized && layout && LayoutByteCount(*layout, picked.size) == picked.sizedBytes.size())
        return {
            IncomingKind::Code, DotsFromSizedLayoutBytes(picked.sizedBytes, *layout, type, picked.size), {}, {}, {}};
    std::vector<LayoutCandidate> readings = unsized ? RankSizedLayouts(unsized->bytes, unsized->sizes, type, layout)
                                                    : RankSizedLayouts(picked.sizedBytes, {&picked.size, 1}, type);
    if (readings.empty())
        return {IncomingKind::Code, std::nullopt, {}, picked.problem, {}};
    Routed routed{IncomingKind::Code, readings.front().dots, {}, {}, {}};
    if (!layout)
        routed.candidates = ChoicesOf(std::move(readings));
    return routed;
}

// Code of several pictures, a header of icons say, brings them all; a header
// of this program with its frames' names and delays.
Routed CodeFrom(const std::string &text, LcdType type, std::optional<BitLayout> unsaidLayout,
                std::optional<PictureSize> unsaidSize)
{
    const CodeReading reading = FindSetPictures(text).reading;
    if (reading.pictures.empty() || unsaidSize) // perhaps a picture of another size
        return SizedPicture(FindSetPictures(text, {}, {}, {true, unsaidSize}).reading, type, unsaidLayout);
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

Routed RouteIncoming(const Incoming &incoming, std::optional<BitLayout> unsaidLayout,
                     std::optional<PictureSize> unsaidSize)
{
    if (incoming.image)
        return {IncomingKind::Image, std::nullopt, {}, {}, {}};
    if (!incoming.fileName.empty())
        return {FileKind(incoming.fileName), std::nullopt, {}, {}, {}};
    if (incoming.text)
        return CodeFrom(*incoming.text, incoming.type, unsaidLayout, unsaidSize);
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
