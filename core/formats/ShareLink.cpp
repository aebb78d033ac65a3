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
    if (whole.size() <= kLinkLimit || document.pictures.size() == 1) {
        const bool tooLong = whole.size() > kLinkLimit;
        return {std::move(whole), onlyHere, tooLong};
    }
    const std::string cut = "With the whole set the address would be longer than " + std::to_string(kLinkLimit)
                            + " characters, which not every program passes on, so the link holds only the picture "
                            + document.Edited().name + ".";
    std::string alone = base + WriteDocumentText(EditedAlone(document));
    const bool tooLong = alone.size() > kLinkLimit;
    return {std::move(alone), onlyHere.empty() ? cut : cut + " " + onlyHere, tooLong};
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
