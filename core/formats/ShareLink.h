#pragma once

#include "core/model/Document.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A picture shared by its address: the page's own address with the document
// in the fragment, which a browser never sends to a server.
namespace tessaldo {

// The longest link that mail and chat programs pass on whole: longer
// addresses are cut or refused by some of them.
inline constexpr std::size_t kLinkLimit = 8000;

struct ShareLink {
    std::string address;
    // "" when the link holds the whole set and opens anywhere; else why it
    // holds only the edited picture, or that it opens only on this machine.
    std::string note;
    // Even the edited picture alone makes the address longer than kLinkLimit:
    // it opens, but the file is the way to send it (TextId::LinkTooLong).
    bool tooLong = false;
};
inline constexpr std::string_view kLinkOnlyHere =
    "The page was opened from a file on this computer, so the link opens only here, where that file is; a link "
    "copied from the page on a web site opens anywhere.";
// The link for `pageAddress` (whatever fragment it has is dropped): the whole
// set while the address is at most kLinkLimit characters, else the
// edited picture alone.
ShareLink MakeShareLink(std::string_view pageAddress, const Document &document);

struct LinkReading {
    std::optional<Document> document;
    std::string problem; // the whole sentence for the user
};
// The document a fragment holds, with or without its '#'.
LinkReading ReadShareLink(std::string_view fragment);

} // namespace tessaldo
