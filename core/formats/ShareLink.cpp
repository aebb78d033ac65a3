#include "core/formats/ShareLink.h"

#include "core/formats/DocumentText.h"

namespace tessaldo {
namespace {

Document EditedAlone(const Document &document)
{
    Document alone;
    alone.type = document.type;
    alone.pictures = {document.Edited()};
    return alone;
}

} // namespace

ShareLink MakeShareLink(std::string_view pageAddress, const Document &document)
{
    const std::string base = std::string(pageAddress.substr(0, pageAddress.find('#'))) + "#";
    // A page opened from a file is at an address no other machine has.
    const std::string onlyHere = pageAddress.starts_with("file:") ? std::string(kLinkOnlyHere) : std::string();
    std::string whole = base + WriteDocumentText(document);
    if (whole.size() < kLinkLimit || document.pictures.size() == 1)
        return {std::move(whole), onlyHere};
    const std::string cut = "With the whole set the address would be " + std::to_string(kLinkLimit)
                            + " characters or more, which not every program passes on, so the link holds only the "
                              "picture "
                            + document.Edited().name + ".";
    return {base + WriteDocumentText(EditedAlone(document)), onlyHere.empty() ? cut : cut + " " + onlyHere};
}

LinkReading ReadShareLink(std::string_view fragment)
{
    if (fragment.starts_with('#'))
        fragment.remove_prefix(1);
    DocumentReading reading = ReadDocumentText(fragment);
    if (!reading.document)
        return {std::nullopt, "This address holds no picture that can be shown: " + reading.problem + "."};
    return {std::move(reading.document), {}};
}

} // namespace tessaldo
